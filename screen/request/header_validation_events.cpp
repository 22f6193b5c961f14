// The header form's events: box exits, changes and keys, the lookup buttons, the
// messages of the checks and the fields of the lookup record sets.
#include <cctype>
#include <memory>
#include <vector>

#include "platform/components.h"
#include "screen/frame/pedido_ana.h"
#include "screen/request/header_validation.h"
#include "screen/request/header_validation_util.h"

namespace screen {

namespace header {
void wireLookups(TfrmPedidoAna& s);  // header_validation_lookups.cpp
}

// --- exits ---

void dbeProdutoExit(TfrmPedidoAna& s) {
    if (editing(s)) Vd_Produto(s, false);
}

void dbeLoteExit(TfrmPedidoAna& s) {
    if (editing(s)) Vd_Lote(s, "L", false);
    Vd_Teor(s);
}

void dbeSetorExit(TfrmPedidoAna& s) {
    if (editing(s)) Vd_Setor(s);
}

void dbeFornecedorExit(TfrmPedidoAna& s) {
    if (editing(s)) Vd_Fornecedor(s, false);
}

void dbeCdEquipProdExit(TfrmPedidoAna& s) {
    if (editing(s)) Vd_EquipProd(s);
}

void dbeMarcaProdExit(TfrmPedidoAna& s) { Vd_Marca(s); }

void medHoraExit(TfrmPedidoAna& s) {
    if (editing(s)) Vd_Hora(s, "medHora");
}

void medHoraPrevExit(TfrmPedidoAna& s) {
    if (editing(s)) Vd_Hora(s, "medHoraPrev");
}

// --- keys ---

namespace {

void startEditOnKey(TfrmPedidoAna& s) {
    auto& a = s.cdsAuditoria;
    if (a.state() == core::DataSetState::Browse && !a.isEmpty()) a.edit();
}

// Signs are never typed into a quantity, and one decimal comma is enough.
void quantityKey(TfrmPedidoAna& s, const std::string& box, platform::Key& key) {
    if (key.text == "+" || key.text == "-") {
        key.clear();
        return;
    }
    if ((key.text == "," || key.text == ".") && header::boxText(s, box).find(',') != std::string::npos) key.clear();
}

}  // namespace

void dbeSubLoteKeyDown(TfrmPedidoAna& s, platform::Key& key) {
    if (!key.is(platform::vk::F9)) return;
    key.clear();
    if (auto* b = s.comps.find("btpLote"); b && b->enabled && b->onClick) b->onClick();
}

void medHoraKeyPress(TfrmPedidoAna& s, platform::Key& key) {
    if (key.typesText()) startEditOnKey(s);
}

void medHoraPrevKeyPress(TfrmPedidoAna& s, platform::Key& key) {
    if (key.typesText()) startEditOnKey(s);
}

void medHoraPrevKeyDown(TfrmPedidoAna& s, platform::Key& key) {
    if (key.is(platform::vk::Delete)) startEditOnKey(s);
}

void dbeQtAmosKeyPress(TfrmPedidoAna& s, platform::Key& key) { quantityKey(s, "dbeQtAmos", key); }

void dbeDosagemKeyPress(TfrmPedidoAna& s, platform::Key& key) {
    const std::string sit = header::text(s, "IDSTATUSAUDI");
    // A cancelled or concluded request keeps its content.
    if (sit == "3" || sit == "4" || sit == "5") {
        key.clear();
        return;
    }
    quantityKey(s, "dbeDosagem", key);
}

void dbeMarcaProdKeyPress(TfrmPedidoAna& s, platform::Key& key) {
    if (!key.typesText() || key.text.size() != 1) return;
    const char k = key.text[0];
    if (k != '\b' && k != ',' && !std::isdigit(static_cast<unsigned char>(k))) key.clear();
}

namespace {

// --- changes ---

// A change handler of a bound box: runs when its field takes a different value,
// whoever writes it (typing, a lookup, a check), as the box's own change event does.
struct Watch {
    std::string field;
    std::function<void()> handler;
    core::Value seen;
};

void watchChanges(TfrmPedidoAna& s, std::vector<Watch> list) {
    auto watches = std::make_shared<std::vector<Watch>>(std::move(list));
    auto& a = s.cdsAuditoria;
    for (size_t i = 0; i < watches->size(); ++i) {
        a.field((*watches)[i].field).onChange.connect([watches, i](core::Field& field) {
            auto& w = (*watches)[i];
            if (core::sameValue(w.seen, field.value())) return;
            w.seen = field.value();
            w.handler();
        });
    }
    // Another row, a cancel or a reload is not a change of the box.
    a.onDataChange.connect([watches](core::RecordSet& set) {
        for (auto& w : *watches) w.seen = set.field(w.field).value();
    });
}

void clearAll(TfrmPedidoAna& s, std::initializer_list<const char*> fields) {
    for (const char* f : fields) header::clearValue(s, f);
}

void wireChanges(TfrmPedidoAna& s) {
    watchChanges(s, {
                        {"CDARVPROD",
                         [&s] {
                             clearAll(s, {"NMPRODUTO", "NRLOTEESTQ", "NRSUBLOTE"});
                         },
                         {}},
                        {"NRLOTEESTQ",
                         [&s] {
                             clearAll(s, {"NRSUBLOTE", "DTVALILOTE", "NRLOTEFORN", "DTFABRPROD"});
                         },
                         {}},
                        {"NRSUBLOTE",
                         [&s] {
                             const auto* box = s.comps.find("dbeSubLote");
                             if (box && box->enabled) clearAll(s, {"DTVALILOTE", "NRLOTEFORN", "DTFABRPROD"});
                         },
                         {}},
                        {"CDSETEXECAUD", [&s] { clearAll(s, {"NMSETOR"}); }, {}},
                        {"CDEQUIPPRO", [&s] { clearAll(s, {"NMEQUIPPRO"}); }, {}},
                        {"CDMARCAPROD",
                         [&s] {
                             if (s.cdsAuditoria.state() == core::DataSetState::Insert) clearAll(s, {"NMMARCA"});
                         },
                         {}},
                    });

    // Only a typed tax number drops the supplier: a lookup writes the number together
    // with the supplier it belongs to.
    s.cdsAuditoria.field("NRINSJURFORN").onSetText = [&s](core::Field& f, const std::string& typed) {
        const bool differs = typed != f.asString();
        f.setValue(typed.empty() ? core::Value() : core::Value(typed));
        if (differs && editing(s)) clearAll(s, {"NMFANTFORN", "CDFORNECED", "IDTPIJURFORN"});
    };
}

void on(TfrmPedidoAna& s, const char* name, std::function<void()> platform::Control::*event,
        std::function<void()> handler) {
    if (auto* c = s.comps.find(name)) c->*event = std::move(handler);
}

using KeyHandler = void (*)(TfrmPedidoAna&, platform::Key&);

void onKey(TfrmPedidoAna& s, const char* name, std::function<void(platform::Key&)> platform::Control::*event,
           KeyHandler handler) {
    if (auto* c = s.comps.find(name)) c->*event = [&s, handler](platform::Key& key) { handler(s, key); };
}

void addMessages(TfrmPedidoAna& s) {
    auto& m = s.msgPadrao;
    m.add("Produto_Deve", "Produto deve ser informado.");
    m.add("Produto_N_Cad", "Produto não cadastrado.");
    m.add("Lote_Deve", "Lote deve ser informado.");
    m.add("Lote_N_Cad", "Lote não cadastrado.");
    m.add("Lote_N_Cad_Produto", "Lote não cadastrado para o produto informado.");
    m.add("SubLote_N_Cad", "SubLote não cadastrado para o lote informado.");
    m.add("Lote_Vazio_Produto", "Não há lote cadastrado para o produto informado.");
    m.add("Setor_N_Cad", "Setor não cadastrado.");
    m.add("Fornecedor_Deve", "Fornecedor deve ser informado.");
    m.add("Fornecedor_N_Cad", "Fornecedor não cadastrado.");
    m.add("EquipProd_nc", "Equipamento não cadastrado.");
    m.add("N_marca_cad", "Não existe marca cadastrada para o produto.");
    m.add("N_marca_prod", "Marca informada não pertence ao produto.");
    m.add("Hora_Inv", " não é uma hora válida.");
    m.add("data", " não é uma data valida.");
}

}  // namespace

void setupHeaderValidation(TfrmPedidoAna& s) {
    addMessages(s);
    setupHeaderQueries(s);
    wireChanges(s);

    using C = platform::Control;
    on(s, "dbeProduto", &C::onExit, [&s] { dbeProdutoExit(s); });
    on(s, "dbeLote", &C::onExit, [&s] { dbeLoteExit(s); });
    on(s, "dbeSetor", &C::onExit, [&s] { dbeSetorExit(s); });
    on(s, "dbeFornecedor", &C::onExit, [&s] { dbeFornecedorExit(s); });
    on(s, "dbeCdEquipProd", &C::onExit, [&s] { dbeCdEquipProdExit(s); });
    on(s, "dbeMarcaProd", &C::onExit, [&s] { dbeMarcaProdExit(s); });
    on(s, "medHora", &C::onExit, [&s] { medHoraExit(s); });
    on(s, "medHoraPrev", &C::onExit, [&s] { medHoraPrevExit(s); });
    for (const char* box : {"dbdData", "dbdDtAmos", "dbdDataPrev"})
        on(s, box, &C::onExit, [&s, box] { CheckValidDate(s, box); });

    onKey(s, "dbeSubLote", &C::onKeyDown, dbeSubLoteKeyDown);
    onKey(s, "medHora", &C::onKeyPress, medHoraKeyPress);
    onKey(s, "medHoraPrev", &C::onKeyPress, medHoraPrevKeyPress);
    onKey(s, "medHoraPrev", &C::onKeyDown, medHoraPrevKeyDown);
    onKey(s, "dbeQtAmos", &C::onKeyPress, dbeQtAmosKeyPress);
    onKey(s, "dbeDosagem", &C::onKeyPress, dbeDosagemKeyPress);
    onKey(s, "dbeMarcaProd", &C::onKeyPress, dbeMarcaProdKeyPress);

    header::wireLookups(s);
}

}  // namespace screen
