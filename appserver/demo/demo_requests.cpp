#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>
#include <string>

#include "appserver/demo/demo_model.h"
#include "appserver/demo/demo_rows.h"
#include "appserver/methods/normal_range.h"
#include "core/normal_range.h"

namespace appserver::demo {

namespace {

enum class Outcome { Pending, Good, Acceptable, Bad, Undetectable, Uncountable };

struct RequestSpec {
    const char* branch;
    int number;
    char situation;
    char process;
    const char* productTree;
    const char* lot;
    const char* sector;
    int supplier;  // 1-based index into suppliers(), 0 for none
    const char* invoice;
    const char* order;
    int daysAgo;
    char kind;  // A analysis, R re-analysis, C compatibility
    const char* creator;
    const char* description;
    double content;  // VRAPRPRODAUD; negative for none
    // Item results that differ from what the situation implies.
    std::vector<std::pair<const char*, Outcome>> outcomes = {};
    bool allConcluded = false;     // every inspection concluded, request still "2" (awaiting release)
    const char* partialSubLot = "";  // sub-lot created by a partial approval
    double approved = 0, rejected = 0;
    const char* previousProductTree = "";
    bool noInspections = false;
    // Every inspection concluded but the last, whose items are all answered but its
    // last one; its rejected items are marked for partial approval.
    bool lastItemOpen = false;
};

// Number 0000000009 of the head office was deleted (see the justification trail).
// One request per entry reads better than one field per line.
// clang-format off
const RequestSpec kRequests[] = {
    {"0001", 1, '1', 'M', "1010010001", "AC240301", "0001", 1, "0000000501", "", 2, 'A', "DEMO",
     "Recebimento de Ácido Cítrico - NF 000123", -1},
    {"0001", 2, '1', 'M', "1010010002", "BZ240210", "0001", 1, "", "", 1, 'A', "ANALISTA",
     "Benzoato de Sódio - lote BZ240210", -1, {}, false, "", 0, 0, "", true},
    {"0001", 3, '2', 'M', "1010020002", "SC240228", "0001", 3, "0000000503", "", 14, 'A', "ANALISTA",
     "Suco concentrado - NF 000890", 65.2},
    {"0001", 4, '4', 'M', "1010010001", "AC240115", "0001", 1, "", "", 58, 'A', "DEMO",
     "Ácido Cítrico - lote AC240115", 99.8, {{"0101004", Outcome::Acceptable}}},
    {"0001", 5, '5', 'M', "1010010001", "AC231120", "0001", 1, "", "", 118, 'A', "ANALISTA",
     "Ácido Cítrico - lote AC231120", 98.7, {{"0101002", Outcome::Bad}}},
    {"0001", 6, '2', 'M', "1010020001", "AZ240305", "0005", 5, "0000000504", "", 9, 'A', "MARIA",
     "Açúcar cristal - NF 000077", -1},
    {"0001", 7, '5', 'M', "1010020001", "AZ240220", "0005", 5, "", "", 24, 'A', "MARIA",
     "Açúcar cristal - aprovação parcial", -1, {{"0201002", Outcome::Bad}}, false, "0001", 1200, 300},
    {"0001", 8, '3', 'M', "1010010002", "BZ240110", "0001", 1, "", "", 58, 'A', "ANALISTA",
     "Benzoato de Sódio - amostra extraviada", -1},
    {"0001", 10, '1', 'E', "2010010001", "FP240301", "0004", 2, "0000000502", "", 7, 'A', "DEMO",
     "Frascos PET 500ml - NF 004567", -1},
    {"0001", 11, '4', 'E', "2010010001", "FP240201", "0004", 2, "", "", 38, 'A', "ANALISTA",
     "Frascos PET 500ml - lote FP240201", -1},
    {"0001", 12, '2', 'E', "2010010002", "TP240301", "0004", 2, "0000000505", "", 5, 'A', "ANALISTA",
     "Tampas 28mm - NF 004601", -1},
    {"0001", 13, '4', 'E', "2010010003", "GP240225", "0004", 2, "", "", 13, 'A', "DEMO", "Garrafas PET 1L", -1,
     {{"0301002", Outcome::Acceptable}}},
    {"0001", 14, '5', 'E', "2020010002", "RT240301", "0004", 6, "", "", 6, 'A', "ANALISTA",
     "Rótulos com falha de impressão", -1, {{"0301003", Outcome::Bad}}},
    {"0001", 15, '3', 'E', "2020010001", "CX240215", "0003", 6, "", "", 19, 'A', "DEMO",
     "Caixas de papelão - pedido em duplicidade", -1},
    {"0001", 16, '2', 'P', "3010010001", "XB240305", "0002", 0, "", "0000001001", 2, 'A', "DEMO",
     "Xarope base - OP 1001", -1},
    {"0001", 17, '1', 'P', "3010010002", "SG240306", "0002", 0, "", "0000001002", 1, 'A', "DEMO",
     "Suco granel - OP 1002", -1, {}, false, "", 0, 0, "3010010001"},
    {"0001", 18, '4', 'P', "3010010002", "SG240226", "0002", 0, "", "0000000998", 10, 'A', "ANALISTA",
     "Suco granel - OP 998", -1},
    {"0001", 19, '5', 'P', "3010010001", "XB240215", "0002", 0, "", "0000000997", 21, 'A', "ANALISTA",
     "Xarope base - OP 997", -1, {{"0102001", Outcome::Bad}}},
    {"0001", 20, '3', 'P', "3010010001", "XB240301", "0002", 0, "", "0000000999", 6, 'A', "DEMO",
     "Xarope base - OP cancelada", -1},
    {"0001", 21, '2', 'A', "4010010001", "SL240306", "0001", 0, "", "0000001003", 1, 'A', "DEMO",
     "Suco de Laranja 1L - OP 1003", -1},
    {"0001", 22, '4', 'A', "4010010001", "SL240301", "0001", 0, "", "0000000995", 6, 'A', "MARIA",
     "Suco de Laranja 1L - OP 995", -1, {{"0201001", Outcome::Undetectable}, {"0201003", Outcome::Undetectable}}},
    {"0001", 23, '5', 'A', "4010010001", "SL240220", "0001", 0, "", "", 15, 'A', "ANALISTA",
     "Suco de Laranja 1L - lote SL240220", -1, {{"0201001", Outcome::Uncountable}}},
    {"0001", 24, '5', 'A', "4010010001", "SL240228", "0001", 0, "", "", 8, 'A', "MARIA",
     "Suco de Laranja 1L - aprovação parcial", -1, {{"0201002", Outcome::Bad}}, false, "0001", 3000, 600},
    {"0001", 25, '1', 'A', "4010010002", "SM240305", "0001", 0, "", "0000001004", 2, 'A', "DEMO",
     "Suco de Laranja 500ml - OP 1004", -1},
    {"0001", 26, '1', 'A', "4010010003", "NU240304", "0001", 0, "", "0000001005", 3, 'A', "DEMO",
     "Néctar de Uva 1L - OP 1005", -1},
    {"0001", 27, '3', 'A', "4010010003", "NU240210", "0001", 0, "", "", 25, 'A', "ANALISTA",
     "Néctar de Uva 1L - cancelado", -1},
    {"0001", 28, '2', 'A', "4010010001", "SL240220", "0005", 0, "", "", 3, 'R', "SUPERVISOR",
     "Reanálise do Produto", -1},
    {"0001", 29, '2', 'E', "2010010001", "FP240201", "0001", 2, "", "", 4, 'C', "DEMO",
     "Compatibilidade frasco PET x suco de laranja", -1},
    // Every inspection concluded, the lot still in quarantine: the next save concludes it.
    {"0001", 30, '2', 'M', "1010010003", "AS240302", "0003", 1, "", "", 3, 'A', "DEMO",
     "Ácido Ascórbico - lote AS240302", -1, {}, true},
    // Answering its last item concludes it and opens the partial approval of its 10 kg
    // (sub-lots up to 0007 exist, so 0008 is proposed).
    {"0001", 31, '2', 'M', "1010020001", "AZ240310", "0005", 5, "", "", 2, 'A', "MARIA",
     "Açúcar cristal - aprovação parcial a concluir", -1, {{"0201001", Outcome::Bad}}, false, "", 0, 0, "", false,
     true},
    {"0002", 1, '2', 'A', "4010010001", "SL240307", "0001", 0, "", "0000002001", 1, 'A', "JOAO",
     "Suco de Laranja 1L - OP 2001", -1, {}, true},
    {"0002", 2, '1', 'M', "1010020001", "AZ240301", "0001", 5, "0000000601", "", 6, 'A', "ROBERTO",
     "Açúcar cristal - NF 000081", -1},
    {"0002", 3, '4', 'E', "2020010001", "CX240301", "0004", 6, "", "", 5, 'A', "LUCIA", "Caixas de papelão 12x1L",
     -1},
    {"0002", 4, '5', 'M', "1010020001", "AZ240201", "0001", 5, "", "", 33, 'A', "ROBERTO",
     "Açúcar cristal - lote AZ240201", -1, {{"0101003", Outcome::Bad}}},
    {"0002", 5, '3', 'E', "2020010001", "CX240215", "0004", 6, "", "", 18, 'A', "JOAO",
     "Caixas de papelão - lote duplicado", -1},
};
// clang-format on

double round2(double v) { return std::round(v * 100.0) / 100.0; }

// A value that the row's range holds, well inside it.
double valueInside(const Response& r) {
    const double h = *r.high;
    switch (r.kind) {
        case '=':
            return round2((*r.low + h) / 2);
        case '>':
            return round2(h * 1.15 + 0.5);
        case '<':
            return round2(h - std::max(std::abs(h) * 0.02, 0.5));
        case 'M':
            return round2(h + std::min(0.3, std::abs(h) * 0.5));
        default:  // 'N'
            return round2(h * 0.4);
    }
}

struct ItemResult {
    std::string accepted = "P";
    std::optional<std::string> code, name, unit, immeasurable, text;
    std::optional<double> value, points;
};

ItemResult judge(const Analysis& a, const std::vector<const Response*>& rows, Outcome outcome) {
    ItemResult out;
    if (outcome == Outcome::Pending || rows.empty()) return out;
    auto take = [&](const Response& r) {
        out.code = r.code;
        out.name = r.name;
        out.points = r.points;
        if (!r.unit.empty()) out.unit = r.unit;
    };
    if (outcome == Outcome::Undetectable || outcome == Outcome::Uncountable) {
        const char kind = outcome == Outcome::Undetectable ? 'D' : 'T';
        for (const auto* r : rows) {
            if (r->kind != kind) continue;
            take(*r);
            out.name = kind == 'D' ? "Indetectável" : "Incontável";
            out.immeasurable = std::string(1, kind);
            out.accepted = kind == 'D' ? "S" : "N";
            return out;
        }
        outcome = kind == 'D' ? Outcome::Good : Outcome::Bad;
    }
    const double wantLow = outcome == Outcome::Good ? 0 : outcome == Outcome::Acceptable ? 1 : 2;
    const double wantHigh = outcome == Outcome::Bad ? 99 : wantLow;
    const Response* target = nullptr;
    for (const auto* r : rows) {
        const bool numeric = r->kind && r->kind != 'D' && r->kind != 'T';
        if (!r->points || *r->points < wantLow || *r->points > wantHigh) continue;
        if (a.responseType == "VALR" && !numeric) continue;
        target = r;
        break;
    }
    if (!target && outcome == Outcome::Acceptable) return judge(a, rows, Outcome::Good);
    if (!target) throw std::logic_error("demo: sem resposta para " + a.tree);
    if (a.responseType != "VALR") {
        take(*target);
        out.text = target->name;
        out.accepted = *target->points > 1 ? "N" : "S";
        return out;
    }
    // Judge the value as the client does: the first row that holds it wins.
    const double v = valueInside(*target);
    for (const auto* r : rows) {
        if (!core::rangeHolds(std::string(1, r->kind), r->low, r->high, v)) continue;
        take(*r);
        out.value = v;
        out.accepted = static_cast<int>(r->points.value_or(0)) >= 2 ? "N" : "S";
        return out;
    }
    throw std::logic_error("demo: valor sem faixa em " + a.tree);
}

// The normal range in words, from the first row with 0 points.
std::optional<std::string> normalRange(const std::vector<const Response*>& rows) {
    for (const auto* r : rows)
        if (r->points == 0) return normalRangeText(r->kind ? std::string(1, r->kind) : std::string(), r->low, r->high);
    return std::nullopt;
}

std::optional<std::string> opt(const std::string& s) {
    if (s.empty()) return std::nullopt;
    return s;
}

}  // namespace

void seedRequests(soci::session& db) {
    for (const auto& req : kRequests) {
        const auto& product = productByTree(req.productTree);
        const auto& creator = operatorByCode(req.creator);
        const std::string number = padded(req.number, 10);
        const std::string process(1, req.process);
        // Bound values must outlive the statement, which runs when the whole expression ends.
        const std::string branch(req.branch), lot(req.lot);
        const double included = dayAt(-req.daysAgo, 7 + req.number % 9, (req.number * 13) % 60);
        const double planned = std::floor(included) + 3 + 17.0 / 24;
        // The 1 L juice's profile is under version control; V2 is in force.
        const std::string version = product.tree == "4010010001" ? "V2" : "";

        // What the lot and the order say.
        std::string lotSupplier, subLot = " ";
        double lotValidity = 0, lotMade = 0;
        soci::indicator lotSupplierSet = soci::i_null;
        db << "SELECT NRLOTEFORN, DTVALILOTE, DTFABRPROD FROM LOTE WHERE CDFILIAL = :f AND CDPRODUTO = :p AND "
              "NRLOTEESTQ = :l AND NRSUBLOTE = :s",
            soci::into(lotSupplier, lotSupplierSet), soci::into(lotValidity), soci::into(lotMade), soci::use(branch),
            soci::use(product.code), soci::use(lot), soci::use(subLot);
        if (lotSupplierSet != soci::i_ok) lotSupplier.clear();
        std::string equipment;
        const std::string order = req.order;
        if (!order.empty()) {
            db << "SELECT O.CDEQUIPPRO FROM ORDEMPROD O, EQUIPAPROD E WHERE O.CDEQUIPPRO = E.CDEQUIPPRO AND "
                  "O.CDFILIAL = :f AND O.NRORDPROD = :o AND O.NRSUBORDPROD = '1'",
                soci::into(equipment), soci::use(branch), soci::use(order);
        }

        // Inspections: the profile's items grouped under their penultimate level.
        std::vector<std::pair<const Analysis*, std::vector<const Analysis*>>> inspections;
        if (!req.noInspections) {
            for (const auto* item : profileItems(product.code, req.process, version)) {
                const auto& parent = analysisByTree(item->tree.substr(0, 4));
                auto it = std::find_if(inspections.begin(), inspections.end(),
                                       [&](const auto& i) { return i.first == &parent; });
                if (it == inspections.end()) {
                    inspections.push_back({&parent, {}});
                    it = inspections.end() - 1;
                }
                it->second.push_back(item);
            }
        }
        const std::string responseProduct =
            *req.previousProductTree ? productByTree(req.previousProductTree).code : product.code;
        const auto& analyst = operatorByCode(req.situation == '1' || req.situation == '3' ? req.creator
                                             : req.branch == std::string("0002")             ? "ROBERTO"
                                                                                               : "ANALISTA");

        std::optional<double> firstStart, lastEnd;
        for (std::size_t k = 0; k < inspections.size(); ++k) {
            const auto& [inspection, items] = inspections[k];
            const bool last = k + 1 == inspections.size();
            const bool micro = inspection->tree == "0201";
            // How far this inspection got.
            bool concluded = false, started = false, partial = false;
            switch (req.situation) {
                case '2':
                    concluded = req.allConcluded || (req.lastItemOpen ? !last : k == 0 && inspections.size() > 1);
                    started = true;
                    partial = !concluded && (req.lastItemOpen || k <= 1);
                    break;
                case '4':
                case '5':
                    concluded = started = true;
                    break;
                default:
                    break;
            }
            const std::string inspectionNumber = padded(static_cast<long long>(k) + 1, 3);
            const double start = included + (k + 1) / 24.0;
            const double end = start + (micro ? 48.0 : 2.5) / 24.0;
            if (started && !firstStart) firstStart = start;
            std::string verdict = "P";
            if (concluded) verdict = "S";

            for (std::size_t j = 0; j < items.size(); ++j) {
                const auto& item = *items[j];
                Outcome outcome = Outcome::Pending;
                const std::size_t answeredItems = req.lastItemOpen ? items.size() - 1 : (items.size() + 1) / 2;
                if (concluded || (partial && j < answeredItems)) outcome = Outcome::Good;
                for (const auto& [tree, o] : req.outcomes) {
                    if (item.tree == tree && outcome != Outcome::Pending) outcome = o;
                }
                if (req.situation == '5' && req.outcomes.empty() && last && j == 0) outcome = Outcome::Bad;
                const auto rows = applicableResponses(item.code, responseProduct, process, version);
                const auto result = judge(item, rows, outcome);
                if (concluded && result.accepted == "N") verdict = "N";
                const bool answered = result.accepted != "P";
                const bool markedPartial = ((*req.partialSubLot || req.lastItemOpen) && result.accepted == "N") ||
                                           (req.number == 6 && req.branch == std::string("0001") && j == 0 && answered);
                Row(db, "ITEMINSAUDIT")
                    .s("CDFILIAL", req.branch)
                    .s("NRAUDITORIA", number)
                    .s("NRINSPECAUDI", inspectionNumber)
                    .s("CDINSPECAO", item.code)
                    .s("CDOPERADOR", answered ? opt(analyst.code) : std::nullopt)
                    .s("IDOPCACEITIN", result.accepted)
                    .s("CDRESPINSPEC", result.code)
                    .d("VRRESPINSAUD", result.value)
                    .s("DSLIMIINSP", item.responseType == "NADA" ? std::nullopt : normalRange(rows))
                    .s("SGUNIDADE", result.unit)
                    .s("NMRESPINSPEC", result.name)
                    .d("VRPONTRESINS", result.points)
                    .s("IDATEITEINSP", item.importance)
                    .s("IDPARCIAL", markedPartial ? "S" : "N")
                    .s("IDRESULTIMENS", result.immeasurable)
                    .s("NMRESPTEXT", result.text)
                    .insert();
            }
            if (concluded) lastEnd = std::max(lastEnd.value_or(0.0), end);
            const bool withSubject = micro && req.number == 22 && req.branch == std::string("0001");
            Row(db, "INSPECAUDIT")
                .s("CDFILIAL", req.branch)
                .s("NRAUDITORIA", number)
                .s("NRINSPECAUDI", inspectionNumber)
                .s("IDTIPOINSAUD", req.kind == 'R' ? "R" : "A")
                .s("CDOPERADOR", creator.code)
                .s("CDINSPECAO", inspection->code)
                .s("DSINSPECAUDI", inspection->name)
                .s("IDNOVAAMOSTR", "N")
                .d("DTFINRINSAUD", concluded ? std::optional<double>(end) : std::nullopt)
                .s("IDINSPCONC", verdict)
                .d("DTINIRINSAUD", started ? std::optional<double>(start) : std::nullopt)
                .d("QTHRINSAUD", concluded ? std::optional<double>((end - start) * 24) : std::nullopt)
                .s("CDOPECONCINS", concluded ? opt(analyst.code) : std::nullopt)
                .s("TXINSPECAUDI", "")
                .s("CDCOBAIA", withSubject ? opt(padded(3, 10)) : std::nullopt)
                .s("CDORDEMAUDIT", padded(static_cast<long long>(k) + 1, 3))
                .insert();
            if (withSubject) {
                // The subject rests from the conclusion until its minimum interval ends.
                Row(db, "HISTCOBAIA")
                    .s("CDCOBAIA", padded(3, 10))
                    .i("NRSEQHISTCOB", 1)
                    .d("DTINIHISTCOB", std::floor(end))
                    .d("DTFIMHISTCOB", start + 30)
                    .insert();
            }
        }

        const bool concluded = req.situation == '4' || req.situation == '5';
        const std::optional<double> realEnd = concluded ? lastEnd : std::nullopt;
        const auto supplier = req.supplier ? std::optional<Supplier>(suppliers()[req.supplier - 1]) : std::nullopt;
        const auto previous =
            *req.previousProductTree ? std::optional<Product>(productByTree(req.previousProductTree)) : std::nullopt;
        const bool juice = product.tree == "4010010001";
        const bool released = req.branch == std::string("0002") && req.situation == '4';
        Row(db, "AUDITORIA")
            .s("CDFILIAL", req.branch)
            .s("NRAUDITORIA", number)
            .s("IDSTATUSAUDI", std::string(1, req.situation))
            .d("DTINCLAUDIT", included)
            .d("DTFINPREVAUD", planned)
            .d("DTFINREALAUD", realEnd)
            .s("NRLOTEESTQ", req.lot)
            .s("NRSUBLOTE", subLot)
            .d("DATA", std::floor(included))
            .d("HORA", included)
            .d("DATAPREVFIM", std::floor(planned))
            .d("HORAPREVFIM", planned)
            .s("CDPRODUTO", product.code)
            .s("NRORDPROD", opt(order))
            .s("NRSUBORDPROD", order.empty() ? std::nullopt : opt("1"))
            .s("CDEQUIPPRO", opt(equipment))
            .s("OPSUBOP", order.empty() ? std::nullopt : opt(order + "/1"))
            .d("VRAPRPRODAUD", req.content >= 0 ? std::optional<double>(req.content) : std::nullopt)
            .s("CDOPEINCAUDI", creator.code)
            .s("DSREFEAUDIT", req.description)
            .s("CDSETEXECAUD", req.sector)
            .s("IDORIGAUDIT", *req.invoice ? "NFE" : !order.empty() ? "OPR" : "ANA")
            .s("CDFORNECED", supplier ? opt(supplier->code) : std::nullopt)
            .s("IDTPAUDITADO", process)
            .d("QTHRAUDIT", realEnd && firstStart ? std::optional<double>(round2((*realEnd - *firstStart) * 24))
                                                  : std::nullopt)
            .s("IDLIBERAUDIT", "S")
            .s("CDETAPAPROD", order.empty() ? std::nullopt : opt(req.process == 'A' ? "ENVASE" : "MISTURA"))
            .s("CDPRODANTE", previous ? opt(previous->code) : std::nullopt)
            .s("NRLOTEFORN", opt(lotSupplier))
            .d("DTVALILOTE", lotValidity)
            .d("DTFABRPROD", lotMade)
            .d("DTAMOSAUDI", std::floor(included))
            .d("QTAMOSAUDI", product.unit == "UN" ? 6.0 : 0.5)
            .s("NRLANCTONF", opt(req.invoice))
            .null("CDJUSTALTERA")
            .s("DTVALANA", realEnd ? opt(dateText(*realEnd + product.validityMonths * 30)) : std::nullopt)
            .s("CDMARCAPROD", juice ? opt("00001") : std::nullopt)
            .s("IDTIPOANA", std::string(1, req.kind))
            .s("IDTEOROBRIG", product.contentRequired ? "S" : "N")
            .s("IDCOMPATIBILIDADE", req.kind == 'C' ? "S" : "N")
            .d("QTESTQAPROVA", *req.partialSubLot ? std::optional<double>(req.approved) : std::nullopt)
            .d("QTESTQREPROVA", *req.partialSubLot ? std::optional<double>(req.rejected) : std::nullopt)
            .s("NRSUBLOTEPARC", opt(req.partialSubLot))
            .null("QTPRODLOTE")
            .s("CDOPELIBAUDI", released ? opt("LUCIA") : std::nullopt)
            .d("DTLIBAUDIT", released ? realEnd : std::nullopt)
            .insert();
    }
}

}  // namespace appserver::demo
