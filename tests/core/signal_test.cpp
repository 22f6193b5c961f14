#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/recordset.h"
#include "core/signal.h"

namespace {

using core::Connection;
using core::ScopedConnection;
using core::Signal;

TEST(Signal, ListenersRunInConnectionOrderAndAThrowStopsTheRest) {
    Signal<int> sig;
    std::vector<std::string> log;
    sig.connect([&](int v) { log.push_back("a" + std::to_string(v)); });
    Connection b = sig.connect([&](int v) {
        log.push_back("b" + std::to_string(v));
        if (v == 2) throw core::Abort();
    });
    sig.connect([&](int v) { log.push_back("c" + std::to_string(v)); });
    sig(1);
    EXPECT_THROW(sig(2), core::Abort);
    EXPECT_EQ(log, (std::vector<std::string>{"a1", "b1", "c1", "a2", "b2"}));

    // After a throw the signal is whole again: disconnecting and emitting work.
    b.disconnect();
    EXPECT_FALSE(b.connected());
    log.clear();
    sig(3);
    EXPECT_EQ(log, (std::vector<std::string>{"a3", "c3"}));
}

TEST(Signal, ScopedConnectionsEndWithTheirScopeAndPlainOnesDoNot) {
    Signal<> sig;
    int scoped = 0, plain = 0;
    {
        ScopedConnection c = sig.connect([&] { ++scoped; });
        (void)sig.connect([&] { ++plain; });  // dropped handle: stays connected
        sig();
    }
    sig();
    EXPECT_EQ(scoped, 1);
    EXPECT_EQ(plain, 2);

    // Moving keeps one live connection; assigning over one ends the old listener.
    ScopedConnection a = sig.connect([&] { ++scoped; });
    ScopedConnection b = std::move(a);
    EXPECT_FALSE(a.connected());
    EXPECT_TRUE(b.connected());
    b = sig.connect([&] { scoped += 10; });
    sig();
    EXPECT_EQ(scoped, 11);

    // A listener that outlives its signal disconnects harmlessly.
    ScopedConnection late;
    {
        Signal<> gone;
        late = gone.connect([] {});
    }
    late.disconnect();
    EXPECT_FALSE(late.connected());
}

TEST(Signal, ListenersMayConnectAndDisconnectWhileItEmits) {
    Signal<> sig;
    std::vector<std::string> log;
    Connection self, other;
    self = sig.connect([&] {
        log.push_back("once");
        self.disconnect();
        other.disconnect();                               // not called in this emission
        sig.connect([&] { log.push_back("added"); });     // first called by the next one
    });
    other = sig.connect([&] { log.push_back("other"); });
    sig();
    sig();
    EXPECT_EQ(log, (std::vector<std::string>{"once", "added"}));
    EXPECT_TRUE(static_cast<bool>(sig));
    sig.disconnectAll();
    EXPECT_TRUE(sig.empty());
}

TEST(Signal, RecordSetListenersShareAnEventAndARefusalStopsTheLaterOnes) {
    core::RecordSet set("cdsTeste");
    set.addField("NOME", core::FieldType::String, 10);
    set.open();
    std::vector<std::string> log;
    set.beforePost.connect([&](core::RecordSet& s) {
        log.push_back("screen");
        if (s["NOME"].asString().empty()) throw core::Error("Nome deve ser informado.");
    });
    ScopedConnection view = set.beforePost.connect([&](core::RecordSet&) { log.push_back("view"); });
    set.onDataChange.connect([&](core::RecordSet&) { log.push_back("data"); });

    set.append();
    log.clear();
    EXPECT_THROW(set.post(), core::Error);
    EXPECT_EQ(set.state(), core::DataSetState::Insert);
    EXPECT_EQ(log, (std::vector<std::string>{"screen"}));

    log.clear();
    set["NOME"].setValue("Ana");
    set.post();
    EXPECT_EQ(log, (std::vector<std::string>{"data", "screen", "view", "data"}));

    // Field listeners: a validation refusal keeps the old value and no change is seen.
    int changes = 0;
    set["NOME"].onChange.connect([&](core::Field&) { ++changes; });
    set["NOME"].onValidate.connect([](core::Field& f) {
        if (f.asString() == "X") throw core::Error("Nome inválido.");
    });
    set.edit();
    EXPECT_THROW(set["NOME"].setValue("X"), core::Error);
    EXPECT_EQ(set["NOME"].asString(), "Ana");
    set["NOME"].setValue("Bia");
    EXPECT_EQ(changes, 1);
    set.cancel();
}

}  // namespace
