#pragma once
#include <fmt/format.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/datetime.h"
#include "core/error.h"
#include "platform/handler.h"
#include "platform/host.h"
#include "platform/query.h"
#include "platform/scripted_host.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "screen/request/header_validation.h"
#include "support/form_input.h"
#include "support/screen_fixture.h"

namespace headertest {

inline const core::DateTime kFabr = core::DateTime::make(2025, 1, 15);
inline const core::DateTime kValid = core::DateTime::make(2026, 1, 15);
inline const core::DateTime kValidSub = core::DateTime::make(2026, 6, 30);

// The real server over a fresh database with a small factory of its own, the
// scripted host, and the analysis-request screen created as the module creates it.
class HeaderFlow : public testsupport::ScreenFixture {
protected:
    void SetUp() override {
        startModule(false);
        seed();
        auto& form = newScreen();
        screen::frmPedidoAna = &form;
        form.FormCreate();
        form.cdsAuditoria.open();
        host.clear();
    }

    static void seed() {
        exec(
            "INSERT INTO PRODUTO (CDPRODUTO, CDARVPROD, NMPRODUTO, SGUNIDADE, IDTEOROBRIG) VALUES "
            "('P1', '1010010001', 'Ácido cítrico', 'KG', 'S')");
        exec(
            "INSERT INTO PRODUTO (CDPRODUTO, CDARVPROD, NMPRODUTO, SGUNIDADE, IDTEOROBRIG) VALUES "
            "('P2', '1010010002', 'Açúcar', 'KG', 'N')");
        exec(
            "INSERT INTO PRODUTO (CDPRODUTO, CDARVPROD, NMPRODUTO, SGUNIDADE, IDTEOROBRIG) VALUES "
            "('P3', '1010010003', 'Corante', 'KG', 'N')");
        const auto lot = [](const char* prod, const char* lote, const char* sub, const char* forn,
                            core::DateTime v) {
            exec(std::string(
                     "INSERT INTO LOTE (CDFILIAL, CDPRODUTO, NRLOTEESTQ, NRSUBLOTE, NRLOTEFORN, DTFABRPROD, "
                     "DTVALILOTE) VALUES ('0001', '") +
                 prod + "', '" + lote + "', '" + sub + "', '" + forn + "', " + fmt::format("{}", kFabr.days) +
                 ", " + fmt::format("{}", v.days) + ")");
        };
        lot("P1", "L100", " ", "F-9", kValid);
        lot("P1", "L100", "001", "F-9A", kValidSub);
        lot("P2", "L200", " ", "F-7", kValid);
        exec("INSERT INTO SETOR (CDSETOR, NMSETOR) VALUES ('0007', 'Laboratório')");
        exec(
            "INSERT INTO FORNECEDOR (CDFORNECED, NRINSJURFORN, IDTPIJURFORN, NMFANTFORN) VALUES "
            "('F1', '12345678000190', 'J', 'Química Sul')");
        exec(
            "INSERT INTO EQUIPAPROD (CDEQUIPPRO, NMEQUIPPRO, SGEQUIPPRO) VALUES ('0000000042', 'Reator 2', "
            "'RT2')");
        exec("INSERT INTO MARCA (CDMARCA, NMMARCA) VALUES ('00001', 'Marca A')");
        exec("INSERT INTO MARCA (CDMARCA, NMMARCA) VALUES ('00002', 'Marca B')");
        exec("INSERT INTO MARCAPRODUTO (CDPRODUTO, CDMARCA) VALUES ('P1', '00001')");
    }


    // A new request, as the include button starts it.
    void newRequest() {
        a().append();
        host.clear();
    }

    // One request as the server would list it, current and being browsed.
    void loadRequest(const std::vector<std::pair<std::string, core::Value>>& values) {
        if (a().state() == core::DataSetState::Insert || a().state() == core::DataSetState::Edit)
            a().cancel();
        core::Packet p;
        p.fields = a().fieldDefs();
        std::vector<core::Value> row(p.fields.size());
        for (const auto& [name, v] : values) row[p.fieldIndex(name)] = v;
        p.rows.push_back(row);
        a().setData(p);
        host.clear();
    }

    // The user types into a bound box and leaves it.
    void type(const char* field, const std::string& text) { f(field).setText(text); }
    bool leave(const std::string& box) { return testsupport::leave(*screen_, box); }
    // A key by its character, or "F9" / "Delete"; what is left of it after the rules.
    std::string press(const std::string& box, const std::string& name) {
        using platform::Key;
        Key key = name == "F9"       ? Key::named(platform::vk::F9)
                  : name == "Delete" ? Key::named(platform::vk::Delete)
                  : name == "\b"     ? Key::named(platform::vk::Back)
                                     : Key::typed(name);
        // As the view raises it: a lookup the key opens may end in an abort.
        platform::runHandler([&] { platform::raiseKey(screen_->comps[box], key); });
        if (key.empty()) return {};
        return key.text.empty() ? name : key.text;
    }
    std::string focus() const { return screen_->comps.activeControl(); }
    std::string shown() const { return host.messages.empty() ? std::string() : host.lastText(); }

    // The text a routine refuses with, or empty when it passes.
    template <class F>
    std::string refusal(F&& routine) {
        try {
            routine();
        } catch (const core::Error& e) {
            return e.what();
        }
        return {};
    }
};

}  // namespace headertest
