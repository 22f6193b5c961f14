#pragma once
#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace core {

namespace detail {
struct SlotBase {
    bool connected = true;
    virtual ~SlotBase() = default;
};
}  // namespace detail

// A handle on one listener of a Signal. Copies refer to the same listener; dropping
// a handle leaves the listener connected (see ScopedConnection for the other way).
class Connection {
public:
    Connection() = default;
    explicit Connection(std::weak_ptr<detail::SlotBase> slot) : slot_(std::move(slot)) {}
    void disconnect() {
        if (auto s = slot_.lock()) s->connected = false;
        slot_.reset();
    }
    bool connected() const {
        auto s = slot_.lock();
        return s && s->connected;
    }

private:
    std::weak_ptr<detail::SlotBase> slot_;
};

// Disconnects its listener when it goes out of scope: a subject that listens to a
// longer-lived one holds these, so nothing calls into it once it is gone.
class ScopedConnection {
public:
    ScopedConnection() = default;
    ScopedConnection(Connection c) : c_(std::move(c)) {}  // NOLINT: taking a connect() result reads naturally
    ScopedConnection(const ScopedConnection&) = delete;
    ScopedConnection& operator=(const ScopedConnection&) = delete;
    ScopedConnection(ScopedConnection&& o) noexcept : c_(std::exchange(o.c_, {})) {}
    ScopedConnection& operator=(ScopedConnection&& o) noexcept {
        if (this != &o) {
            c_.disconnect();
            c_ = std::exchange(o.c_, {});
        }
        return *this;
    }
    ~ScopedConnection() { c_.disconnect(); }
    void disconnect() { c_.disconnect(); }
    bool connected() const { return c_.connected(); }

private:
    Connection c_;
};

// An event with several listeners, called in the order they connected. A listener
// that throws stops the emission there and the exception reaches the emitter: a
// "before" event refuses its operation that way. Listeners may connect or disconnect
// (themselves or others) while the signal is being emitted; one connected during an
// emission is first called by the next one.
template <class... Args>
class Signal {
public:
    using Handler = std::function<void(Args...)>;

    Signal() = default;
    // A signal belongs to its subject: copying the subject does not copy its listeners.
    Signal(const Signal&) = delete;
    Signal& operator=(const Signal&) = delete;

    Connection connect(Handler h) {
        purge();
        auto slot = std::make_shared<Slot>();
        slot->fn = std::move(h);
        slots_.push_back(slot);
        return Connection(slot);
    }

    void operator()(Args... args) const {
        // Indexes, not iterators: a listener may connect while we walk.
        ++depth_;
        struct Leave {
            const Signal& s;
            ~Leave() {
                if (--s.depth_ == 0) s.purge();
            }
        } leave{*this};
        const size_t n = slots_.size();
        for (size_t i = 0; i < n; ++i) {
            const std::shared_ptr<Slot> s = slots_[i];  // stays alive if it disconnects itself
            if (s->connected) s->fn(args...);
        }
    }

    bool empty() const {
        for (const auto& s : slots_)
            if (s->connected) return false;
        return true;
    }
    explicit operator bool() const { return !empty(); }
    void disconnectAll() {
        for (auto& s : slots_) s->connected = false;
        purge();
    }

private:
    struct Slot : detail::SlotBase {
        Handler fn;
    };
    void purge() const {
        if (depth_ > 0) return;
        std::erase_if(slots_, [](const std::shared_ptr<Slot>& s) { return !s->connected; });
    }
    mutable std::vector<std::shared_ptr<Slot>> slots_;
    mutable int depth_ = 0;
};

}  // namespace core
