#include <algorithm>
#include <stdexcept>

#include "appserver/demo/demo_model.h"
#include "appserver/demo/demo_rows.h"

namespace appserver::demo {

const std::vector<Product>& products() {
    static const std::vector<Product> all = {
        {"0000000001", "1010010001", "Ácido Cítrico Anidro", "KG", 'M', 6, true, 9.80},
        {"0000000002", "1010010002", "Benzoato de Sódio", "KG", 'M', 6, false, 14.20},
        {"0000000003", "1010010003", "Ácido Ascórbico", "KG", 'M', 6, false, 38.50},
        {"0000000004", "1010020001", "Açúcar Cristal", "KG", 'M', 12, false, 3.10},
        {"0000000005", "1010020002", "Suco Concentrado de Laranja 65 Brix", "KG", 'M', 3, true, 7.45},
        {"0000000006", "1020010001", "Hidróxido de Sódio 0,1N", "L", 'R', 12, false, 22.00},
        {"0000000007", "1020010002", "Fenolftaleína 1%", "L", 'R', 12, false, 31.00},
        {"0000000008", "1020010003", "Ágar Padrão para Contagem", "KG", 'R', 24, false, 410.00},
        {"0000000009", "2010010001", "Frasco PET 500ml", "UN", 'E', 24, false, 0.32},
        {"0000000010", "2010010002", "Tampa Plástica 28mm", "UN", 'E', 24, false, 0.06},
        {"0000000011", "2010010003", "Garrafa PET 1L", "UN", 'E', 24, false, 0.45},
        {"0000000012", "2020010001", "Caixa de Papelão 12x1L", "UN", 'E', 24, false, 1.90},
        {"0000000013", "2020010002", "Rótulo Suco de Laranja 1L", "UN", 'E', 24, false, 0.04},
        {"0000000014", "3010010001", "Xarope Base de Laranja", "L", 'P', 1, false, 2.10},
        {"0000000015", "3010010002", "Suco de Laranja Pasteurizado Granel", "L", 'P', 1, false, 2.60},
        {"0000000016", "4010010001", "Suco de Laranja 1L", "UN", 'A', 6, false, 3.40},
        {"0000000017", "4010010002", "Suco de Laranja 500ml", "UN", 'A', 6, false, 1.95},
        {"0000000018", "4010010003", "Néctar de Uva 1L", "UN", 'A', 6, false, 3.10},
    };
    return all;
}

const Product& productByTree(const std::string& tree) {
    for (const auto& p : products()) {
        if (p.tree == tree) return p;
    }
    throw std::logic_error("demo: produto desconhecido " + tree);
}

const std::vector<Analysis>& analyses() {
    static const std::vector<Analysis> all = {
        {"0000000001", "01", "Análises Físico-Químicas", "", "", ""},
        {"0000000002", "0101", "Físico-Química de Matéria-Prima", "", "", ""},
        {"0000000003", "0101001", "pH (solução a 10%)", "VALR", "I", "pH"},
        {"0000000004", "0101002", "Teor de Pureza", "VALR", "I", "%"},
        {"0000000005", "0101003", "Umidade", "VALR", "N", "%"},
        {"0000000006", "0101004", "Aspecto", "TEXT", "R", ""},
        {"0000000007", "0102", "Físico-Química de Suco", "", "", ""},
        {"0000000008", "0102001", "Sólidos Solúveis (Brix)", "VALR", "I", "Bx"},
        {"0000000009", "0102002", "Acidez Titulável", "VALR", "N", "%"},
        {"0000000010", "0102003", "pH", "VALR", "I", "pH"},
        {"0000000011", "0102004", "Cor", "TEXT", "N", ""},
        {"0000000012", "0102005", "Sabor e Odor", "TEXT", "R", ""},
        {"0000000013", "02", "Análises Microbiológicas", "", "", ""},
        {"0000000014", "0201", "Microbiologia", "", "", ""},
        {"0000000015", "0201001", "Contagem Total de Bactérias", "VALR", "I", "UF"},
        {"0000000016", "0201002", "Bolores e Leveduras", "VALR", "I", "UF"},
        {"0000000017", "0201003", "Coliformes Totais", "VALR", "I", "NM"},
        {"0000000018", "03", "Análises de Embalagens", "", "", ""},
        {"0000000019", "0301", "Inspeção Dimensional e Visual", "", "", ""},
        {"0000000020", "0301001", "Altura", "VALR", "N", "mm"},
        {"0000000021", "0301002", "Peso", "VALR", "N", "g"},
        {"0000000022", "0301003", "Aspecto Visual", "TEXT", "I", ""},
        {"0000000023", "0301004", "Vedação", "NADA", "F", ""},
        {"0000000024", "0302", "Compatibilidade Embalagem x Produto", "", "", ""},
        {"0000000025", "0302001", "Compatibilidade com o Produto", "TEXT", "C", ""},
    };
    return all;
}

const Analysis& analysisByTree(const std::string& tree) {
    for (const auto& a : analyses()) {
        if (a.tree == tree) return a;
    }
    throw std::logic_error("demo: análise desconhecida " + tree);
}

namespace {

std::string analysisCode(const std::string& tree) { return analysisByTree(tree).code; }

struct ResponseSpec {
    const char* tree;
    const char* code;
    const char* name;
    std::optional<double> points;  // none: the response judges nothing
    char kind;
    std::optional<double> low, high;
    const char* unit;
    const char* productTree;  // nullptr: general
    const char* process;
    const char* version;  // nullptr: any version
};

// One-sided ranges compare the value with the upper bound and show the lower one,
// so both carry the limit.
const ResponseSpec kResponses[] = {
    // pH of raw material: general
    {"0101001", "00001", "Dentro da faixa", 0, '=', 2.5, 3.5, "pH", nullptr, nullptr, nullptr},
    {"0101001", "00002", "Levemente ácido", 1, '=', 2.0, 2.49999, "pH", nullptr, nullptr, nullptr},
    {"0101001", "00003", "Abaixo da faixa", 2, '<', 2.0, 2.0, "pH", nullptr, nullptr, nullptr},
    {"0101001", "00004", "Acima da faixa", 2, '>', 3.5, 3.5, "pH", nullptr, nullptr, nullptr},
    // pH of citric acid: product-specific, any version
    {"0101001", "00011", "Dentro da faixa", 0, '=', 1.8, 2.2, "pH", "1010010001", "M", nullptr},
    {"0101001", "00012", "Abaixo da faixa", 2, '<', 1.8, 1.8, "pH", "1010010001", "M", nullptr},
    {"0101001", "00013", "Acima da faixa", 2, '>', 2.2, 2.2, "pH", "1010010001", "M", nullptr},
    // purity
    {"0101002", "00001", "Conforme", 0, 'M', 99.0, 99.0, "%", nullptr, nullptr, nullptr},
    {"0101002", "00002", "Não conforme", 2, '<', 99.0, 99.0, "%", nullptr, nullptr, nullptr},
    {"0101002", "00011", "Conforme", 0, 'M', 99.5, 99.5, "%", "1010010001", "M", nullptr},
    {"0101002", "00012", "Não conforme", 2, '<', 99.5, 99.5, "%", "1010010001", "M", nullptr},
    // moisture
    {"0101003", "00001", "Conforme", 0, 'N', 0.5, 0.5, "%", nullptr, nullptr, nullptr},
    {"0101003", "00002", "Acima do limite", 2, '>', 0.5, 0.5, "%", nullptr, nullptr, nullptr},
    // appearance (text)
    {"0101004", "00001", "Característico", 0, 0, {}, {}, "", nullptr, nullptr, nullptr},
    {"0101004", "00002", "Levemente amarelado", 1, 0, {}, {}, "", nullptr, nullptr, nullptr},
    {"0101004", "00003", "Presença de impurezas", 2, 0, {}, {}, "", nullptr, nullptr, nullptr},
    {"0101004", "00004", "Não avaliado", {}, 0, {}, {}, "", nullptr, nullptr, nullptr},
    // Brix: general, and per version for the 1 L juice
    {"0102001", "00001", "Dentro da faixa", 0, '=', 10.5, 12.5, "°Brix", nullptr, nullptr, nullptr},
    {"0102001", "00002", "Abaixo da faixa", 2, '<', 10.5, 10.5, "°Brix", nullptr, nullptr, nullptr},
    {"0102001", "00003", "Acima da faixa", 2, '>', 12.5, 12.5, "°Brix", nullptr, nullptr, nullptr},
    {"0102001", "00011", "Dentro da faixa", 0, '=', 11.0, 12.0, "°Brix", "4010010001", "A", "V1"},
    {"0102001", "00012", "Abaixo da faixa", 2, '<', 11.0, 11.0, "°Brix", "4010010001", "A", "V1"},
    {"0102001", "00013", "Acima da faixa", 2, '>', 12.0, 12.0, "°Brix", "4010010001", "A", "V1"},
    {"0102001", "00021", "Dentro da faixa", 0, '=', 10.8, 12.2, "°Brix", "4010010001", "A", "V2"},
    {"0102001", "00022", "Abaixo da faixa", 2, '<', 10.8, 10.8, "°Brix", "4010010001", "A", "V2"},
    {"0102001", "00023", "Acima da faixa", 2, '>', 12.2, 12.2, "°Brix", "4010010001", "A", "V2"},
    // concentrate Brix (raw material)
    {"0102001", "00031", "Dentro da faixa", 0, '=', 64.0, 66.0, "°Brix", "1010020002", "M", nullptr},
    {"0102001", "00032", "Fora da faixa", 2, '<', 64.0, 64.0, "°Brix", "1010020002", "M", nullptr},
    {"0102001", "00033", "Fora da faixa", 2, '>', 66.0, 66.0, "°Brix", "1010020002", "M", nullptr},
    // acidity
    {"0102002", "00001", "Dentro da faixa", 0, '=', 0.5, 1.0, "% ác.cítr.", nullptr, nullptr, nullptr},
    {"0102002", "00002", "Abaixo da faixa", 2, '<', 0.5, 0.5, "% ác.cítr.", nullptr, nullptr, nullptr},
    {"0102002", "00003", "Acima da faixa", 2, '>', 1.0, 1.0, "% ác.cítr.", nullptr, nullptr, nullptr},
    // juice pH
    {"0102003", "00001", "Dentro da faixa", 0, '=', 3.3, 4.0, "pH", nullptr, nullptr, nullptr},
    {"0102003", "00002", "Abaixo da faixa", 2, '<', 3.3, 3.3, "pH", nullptr, nullptr, nullptr},
    {"0102003", "00003", "Acima da faixa", 2, '>', 4.0, 4.0, "pH", nullptr, nullptr, nullptr},
    // colour, taste (text)
    {"0102004", "00001", "Característica", 0, 0, {}, {}, "", nullptr, nullptr, nullptr},
    {"0102004", "00002", "Levemente alterada", 1, 0, {}, {}, "", nullptr, nullptr, nullptr},
    {"0102004", "00003", "Alterada", 2, 0, {}, {}, "", nullptr, nullptr, nullptr},
    {"0102005", "00001", "Característico", 0, 0, {}, {}, "", nullptr, nullptr, nullptr},
    {"0102005", "00002", "Levemente alterado", 1, 0, {}, {}, "", nullptr, nullptr, nullptr},
    {"0102005", "00003", "Estranho", 2, 0, {}, {}, "", nullptr, nullptr, nullptr},
    // total count: general, and version V2 of the 1 L juice
    {"0201001", "00001", "Ausente", 0, 'D', {}, {}, "UFC/ml", nullptr, nullptr, nullptr},
    {"0201001", "00002", "Dentro do limite", 0, 'N', 100.0, 100.0, "UFC/ml", nullptr, nullptr, nullptr},
    {"0201001", "00003", "Acima do limite", 2, '>', 100.0, 100.0, "UFC/ml", nullptr, nullptr, nullptr},
    {"0201001", "00004", "Contaminação", 2, 'T', {}, {}, "UFC/ml", nullptr, nullptr, nullptr},
    {"0201001", "00011", "Ausente", 0, 'D', {}, {}, "UFC/ml", "4010010001", "A", "V2"},
    {"0201001", "00012", "Dentro do limite", 0, 'N', 50.0, 50.0, "UFC/ml", "4010010001", "A", "V2"},
    {"0201001", "00013", "Acima do limite", 2, '>', 50.0, 50.0, "UFC/ml", "4010010001", "A", "V2"},
    {"0201001", "00014", "Contaminação", 2, 'T', {}, {}, "UFC/ml", "4010010001", "A", "V2"},
    // moulds and yeasts
    {"0201002", "00001", "Ausente", 0, 'D', {}, {}, "UFC/ml", nullptr, nullptr, nullptr},
    {"0201002", "00002", "Dentro do limite", 0, 'N', 10.0, 10.0, "UFC/ml", nullptr, nullptr, nullptr},
    {"0201002", "00003", "Acima do limite", 2, '>', 10.0, 10.0, "UFC/ml", nullptr, nullptr, nullptr},
    {"0201002", "00004", "Contaminação", 2, 'T', {}, {}, "UFC/ml", nullptr, nullptr, nullptr},
    // coliforms: no uncountable row, so "Incontável" is refused for them
    {"0201003", "00001", "Ausente", 0, 'D', {}, {}, "NMP/ml", nullptr, nullptr, nullptr},
    {"0201003", "00002", "Dentro do limite", 0, '<', 3.0, 3.0, "NMP/ml", nullptr, nullptr, nullptr},
    {"0201003", "00003", "Acima do limite", 2, 'M', 3.0, 3.0, "NMP/ml", nullptr, nullptr, nullptr},
    // packaging
    {"0301001", "00001", "Dentro da tolerância", 0, '=', 199.5, 200.5, "mm", nullptr, nullptr, nullptr},
    {"0301001", "00002", "Abaixo da tolerância", 2, '<', 199.5, 199.5, "mm", nullptr, nullptr, nullptr},
    {"0301001", "00003", "Acima da tolerância", 2, '>', 200.5, 200.5, "mm", nullptr, nullptr, nullptr},
    {"0301002", "00001", "Dentro da tolerância", 0, '=', 23.5, 24.5, "g", nullptr, nullptr, nullptr},
    {"0301002", "00002", "Leve", 1, '=', 23.0, 23.49999, "g", nullptr, nullptr, nullptr},
    {"0301002", "00003", "Fora da tolerância", 2, '<', 23.0, 23.0, "g", nullptr, nullptr, nullptr},
    {"0301002", "00004", "Fora da tolerância", 2, '>', 24.5, 24.5, "g", nullptr, nullptr, nullptr},
    // Overlaps the upper end of "Dentro da tolerância", which comes first and wins there.
    {"0301002", "00005", "Atenção", 1, '=', 24.3, 24.5, "g", nullptr, nullptr, nullptr},
    {"0301003", "00001", "Sem defeitos", 0, 0, {}, {}, "", nullptr, nullptr, nullptr},
    {"0301003", "00002", "Defeito leve", 1, 0, {}, {}, "", nullptr, nullptr, nullptr},
    {"0301003", "00003", "Defeito crítico", 2, 0, {}, {}, "", nullptr, nullptr, nullptr},
    {"0301004", "00001", "Sem vazamento", 0, 0, {}, {}, "", nullptr, nullptr, nullptr},
    {"0301004", "00002", "Com vazamento", 2, 0, {}, {}, "", nullptr, nullptr, nullptr},
    {"0302001", "00001", "Compatível", 0, 0, {}, {}, "", nullptr, nullptr, nullptr},
    {"0302001", "00002", "Incompatível", 2, 0, {}, {}, "", nullptr, nullptr, nullptr},
};

}  // namespace

const std::vector<Response>& responses() {
    static const std::vector<Response> all = [] {
        std::vector<Response> rows;
        int seq = 0;
        for (const auto& r : kResponses) {
            Response row{++seq,  analysisCode(r.tree), r.code, r.name, r.points, r.kind, r.low, r.high, r.unit,
                         {},     {},                   {}};
            if (r.productTree) {
                row.product = productByTree(r.productTree).code;
                row.process = std::string(r.process);
                if (r.version) row.version = std::string(r.version);
            }
            rows.push_back(row);
        }
        return rows;
    }();
    return all;
}

std::vector<const Response*> applicableResponses(const std::string& analysis, const std::string& product,
                                                 const std::string& process, const std::string& version) {
    const std::string wanted = version.empty() ? "x" : version;
    std::vector<const Response*> specific, general;
    for (const auto& r : responses()) {
        if (r.analysis != analysis) continue;
        if (!r.product) {
            general.push_back(&r);
        } else if (*r.product == product && r.process && *r.process == process && r.version.value_or("x") == wanted) {
            specific.push_back(&r);
        }
    }
    return !product.empty() && !specific.empty() ? specific : general;
}

namespace {

struct ProfileSpec {
    const char* productTree;
    char process;
    const char* version;  // nullptr: any
    std::vector<const char*> items;
};
const ProfileSpec kProfile[] = {
    {"1010010001", 'M', nullptr, {"0101001", "0101002", "0101003", "0101004"}},
    {"1010010002", 'M', nullptr, {"0101002", "0101003", "0101004"}},
    {"1010010003", 'M', nullptr, {"0101002", "0101004"}},
    {"1010020001", 'M', nullptr, {"0101003", "0101004", "0201001", "0201002"}},
    {"1010020002", 'M', nullptr, {"0102001", "0102002", "0102003", "0201001", "0201002", "0201003"}},
    {"2010010001", 'E', nullptr, {"0301001", "0301002", "0301003", "0301004", "0302001"}},
    {"2010010002", 'E', nullptr, {"0301001", "0301002", "0301003", "0301004"}},
    {"2010010003", 'E', nullptr, {"0301001", "0301002", "0301003", "0301004"}},
    {"2020010001", 'E', nullptr, {"0301003"}},
    {"2020010002", 'E', nullptr, {"0301003"}},
    {"3010010001", 'P', nullptr, {"0102001", "0102003"}},
    {"3010010002", 'P', nullptr, {"0102001", "0102002", "0102003", "0102004", "0201001"}},
    {"4010010001", 'A', "V1", {"0102001", "0102002", "0102003", "0102004", "0102005", "0201001", "0201002"}},
    {"4010010001", 'A', "V2", {"0102001", "0102002", "0102003", "0102004", "0102005", "0201001", "0201002", "0201003"}},
    {"4010010002", 'A', nullptr, {"0102001", "0102003", "0102004", "0201001", "0201002"}},
    {"4010010003", 'A', nullptr, {"0102001", "0102002", "0102003", "0102005", "0201001", "0201002"}},
};

}  // namespace

std::vector<const Analysis*> profileItems(const std::string& productCode, char process, const std::string& version) {
    std::vector<const Analysis*> items;
    for (const auto& p : kProfile) {
        if (productByTree(p.productTree).code != productCode || p.process != process) continue;
        if (p.version && version != p.version) continue;
        for (const char* tree : p.items) items.push_back(&analysisByTree(tree));
    }
    return items;
}

const std::vector<Supplier>& suppliers() {
    static const std::vector<Supplier> all = {
        {"000000000000000000001", "12345678000195", "J", "Química Paulista"},
        {"000000000000000000002", "98765432000198", "J", "PlastBom Embalagens"},
        {"000000000000000000003", "45678912000155", "J", "Agrícola Vale do Sol"},
        {"000000000000000000004", "12345678909", "F", "José Carlos Pereira"},
        {"000000000000000000005", "98765432100", "F", "Antônio Marcos Lima"},
        {"000000000000000000006", "11222333000181", "J", "Papelão Sul Embalagens"},
    };
    return all;
}

void seedCatalogue(soci::session& db) {
    const std::pair<const char*, const char*> groups[] = {
        {"1", "Matérias-Primas"},
        {"101", "Insumos Alimentícios"},
        {"101001", "Acidulantes e Conservantes"},
        {"101002", "Açúcares e Concentrados"},
        {"102", "Reagentes de Laboratório"},
        {"102001", "Reagentes e Meios de Cultura"},
        {"2", "Embalagens"},
        {"201", "Embalagens Primárias"},
        {"201001", "Frascos e Tampas"},
        {"202", "Embalagens Secundárias"},
        {"202001", "Caixas e Rótulos"},
        {"3", "Produtos em Processo"},
        {"301", "Xaropes e Bases"},
        {"301001", "Bases de Suco"},
        {"4", "Produtos Acabados"},
        {"401", "Sucos e Néctares"},
        {"401001", "Sucos Prontos para Beber"},
    };
    for (const auto& [tree, name] : groups) {
        const std::string t = tree;
        const int level = t.size() == 1 ? 1 : t.size() == 3 ? 2 : 3;
        Row(db, "GRUPOPRODUTO").s("CDARVPROD", t).s("NMGRUPOPROD", name).s("CDNVPROD", std::to_string(level)).insert();
    }
    for (const auto& p : products()) {
        const bool production = p.type == 'P' || p.type == 'A';
        Row(db, "PRODUTO")
            .s("CDPRODUTO", p.code)
            .s("CDARVPROD", p.tree)
            .s("NMPRODUTO", p.name)
            .s("SGUNIDADE", p.unit)
            .s("IDTPPRODUTO", std::string(1, p.type == 'R' ? 'M' : p.type))
            .d("NRDIASVALANA", p.validityMonths)
            .s("IDTEOROBRIG", p.contentRequired ? "S" : "N")
            .s("IDCNTRESTOQ", "S")
            // Packaging of the second group is counted, not lot-controlled.
            .s("IDUTCTRLLOTE", p.tree.rfind("202", 0) == 0 ? "N" : "S")
            .s("IDPRODPRODUCAO", production ? "S" : "N")
            .s("IDREAGENTE", p.type == 'R' ? "S" : "N")
            .d("VRCUSTOPROD", p.unitCost)
            .s("IDATIVO", "S")
            .insert();
    }

    const std::pair<const char*, const char*> brands[] = {
        {"00001", "Laranjal"},    {"00002", "Vale Verde"}, {"00003", "Sol Nascente"},
        {"00004", "PlastBom"},    {"00005", "QuimPaulista"},
    };
    for (const auto& [code, name] : brands) Row(db, "MARCA").s("CDMARCA", code).s("NMMARCA", name).insert();
    const std::pair<const char*, const char*> productBrands[] = {
        {"4010010001", "00001"}, {"4010010001", "00002"}, {"4010010002", "00001"}, {"4010010003", "00003"},
        {"2010010001", "00004"}, {"2010010003", "00004"}, {"1010010001", "00005"},
    };
    for (const auto& [tree, brand] : productBrands) {
        Row(db, "MARCAPRODUTO").s("CDPRODUTO", productByTree(tree).code).s("CDMARCA", brand).insert();
    }

    const char* razao[] = {"Química Paulista Indústria e Comércio Ltda", "PlastBom Embalagens Plásticas S.A.",
                           "Agrícola Vale do Sol Ltda",                 "José Carlos Pereira",
                           "Antônio Marcos Lima",                       "Papelão Sul Embalagens Ltda"};
    const char* cities[][2] = {{"Campinas", "SP"},   {"Jundiaí", "SP"}, {"Bebedouro", "SP"},
                               {"Limeira", "SP"},    {"Araras", "SP"},  {"Caxias do Sul", "RS"}};
    for (std::size_t n = 0; n < suppliers().size(); ++n) {
        const auto& s = suppliers()[n];
        Row(db, "FORNECEDOR")
            .s("CDFORNECED", s.code)
            .s("NRINSJURFORN", s.taxNumber)
            .s("IDTPIJURFORN", s.personType)
            .s("NMFANTFORN", s.tradeName)
            .s("NMRAZSOCFORN", razao[n])
            .s("NMCIDADE", cities[n][0])
            .s("SGESTADO", cities[n][1])
            .insert();
    }

    struct Equipment {
        const char* code;
        const char* name;
        const char* abbrev;
        const char* group;
        double cost;
        const char* sector;
    };
    const Equipment equipment[] = {
        {"0000000001", "pHmetro de Bancada", "PHM-01", "LAB", 12.50, "0001"},
        {"0000000002", "Balança Analítica 0,1mg", "BAL-01", "LAB", 8.00, "0001"},
        {"0000000003", "Refratômetro Digital", "REF-01", "LAB", 10.00, "0001"},
        {"0000000004", "Estufa Bacteriológica", "EST-01", "MICRO", 6.00, "0005"},
        {"0000000005", "Cromatógrafo HPLC", "HPLC-01", "LAB", 95.00, "0001"},
        {"0000000006", "Paquímetro Digital", "PAQ-01", "LAB", 2.00, "0004"},
        {"0000000007", "Tanque de Mistura 5000L", "TQ-05", "PROD", 40.00, "0002"},
        {"0000000008", "Envasadora Linha 1", "ENV-01", "PROD", 120.00, "0002"},
    };
    for (const auto& e : equipment) {
        Row(db, "EQUIPAPROD")
            .s("CDEQUIPPRO", e.code)
            .s("NMEQUIPPRO", e.name)
            .s("SGEQUIPPRO", e.abbrev)
            .s("CDGRUPOEQUIPA", e.group)
            .d("VRCUSTOEQUIP", e.cost)
            .s("CDSETOR", e.sector)
            .insert();
    }

    for (const auto& a : analyses()) {
        const std::string level = a.tree.size() == 2 ? "1" : a.tree.size() == 4 ? "2" : "3";
        Row row(db, "INSPECAO");
        row.s("CDINSPECAO", a.code)
            .s("CDARVINSPEC", a.tree)
            .s("CDNVINSPECAO", level)
            .s("NMINSPECAO", a.name)
            .s("IDORIGINSPEC", "ANA")
            .s("IDSITINSPEC", "A");
        if (level == "3") {
            row.s("IDTPRESPINSP", a.responseType).s("IDATEITEINSP", a.importance);
            if (a.unit.empty()) {
                row.null("SGUNIDADE");
            } else {
                row.s("SGUNIDADE", a.unit);
            }
        }
        row.insert();
    }
    // An inactive analysis, which the lookups never offer.
    Row(db, "INSPECAO")
        .s("CDINSPECAO", "0000000026")
        .s("CDARVINSPEC", "0101005")
        .s("CDNVINSPECAO", "3")
        .s("NMINSPECAO", "Densidade (descontinuada)")
        .s("IDTPRESPINSP", "VALR")
        .s("IDATEITEINSP", "F")
        .s("SGUNIDADE", "g")
        .s("IDORIGINSPEC", "ANA")
        .s("IDSITINSPEC", "I")
        .insert();

    // The 1 L juice's profile has two versions (V1 ended, V2 in force); the 500 ml
    // juice's only version has ended, so no analysis can be entered for it today.
    struct Version {
        const char* productTree;
        const char* process;
        const char* code;
        const char* description;
        int from, to;
    };
    const Version versions[] = {
        {"4010010001", "A", "V1", "Perfil original", -400, -181},
        {"4010010001", "A", "V2", "Perfil com coliformes", -180, 730},
        {"4010010002", "A", "V1", "Perfil de lançamento", -400, -30},
    };
    for (const auto& v : versions) {
        Row(db, "VERSAOPRODANA")
            .s("CDPRODUTO", productByTree(v.productTree).code)
            .s("IDTPAUDITADO", v.process)
            .s("CDVERSAO", v.code)
            .s("DSVERSAO", v.description)
            .d("DTVIGINICIO", dayAt(v.from))
            .d("DTVIFGFINAL", dayAt(v.to, 23, 59))
            .insert();
    }

    int seq = 0;
    for (const auto& p : kProfile) {
        for (const char* tree : p.items) {
            const auto& a = analysisByTree(tree);
            Row(db, "PRODINSPEC")
                .i("NRSEQPRODINSP", ++seq)
                .s("CDPRODUTO", productByTree(p.productTree).code)
                .s("CDINSPECAO", a.code)
                .s("IDPROCPROD", std::string(1, p.process))
                .s("CDVERSAO", p.version ? std::optional<std::string>(p.version) : std::nullopt)
                .s("IDATEITEINSP", a.importance)
                .s("IDSITPRODINSP", "A")
                .insert();
        }
    }

    for (const auto& r : responses()) {
        Row(db, "RESPOSINSPEC")
            .i("NRSEQRESPINSP", r.seq)
            .s("CDINSPECAO", r.analysis)
            .s("CDRESPINSPEC", r.code)
            .s("NMRESPINSPEC", r.name)
            .d("VRPONTRESINS", r.points)
            .s("IDFAIXRESINS", r.kind ? std::optional<std::string>(std::string(1, r.kind)) : std::nullopt)
            .d("VRINIFAIXRES", r.low)
            .d("VRFINFAIXRES", r.high)
            .s("SGUNIDADE", r.unit.empty() ? std::nullopt : std::optional<std::string>(r.unit))
            .s("CDPRODUTO", r.product)
            .s("IDRESPPROC", r.process)
            .s("CDVERSAO", r.version)
            .insert();
    }

    // Reagents each item may consume.
    const std::pair<const char*, const char*> reagents[] = {
        {"0102002", "1020010001"}, {"0102002", "1020010002"}, {"0101002", "1020010001"},
        {"0201001", "1020010003"}, {"0201002", "1020010003"}, {"0302001", "4010010001"},
        {"0302001", "2010010001"},
    };
    for (const auto& [tree, productTree] : reagents) {
        Row(db, "INSUMOANA")
            .s("CDINSPECAO", analysisByTree(tree).code)
            .s("CDPRODUTO", productByTree(productTree).code)
            .d("QTPADRAO", 0.05)
            .insert();
    }

    // Test subjects; number 2 is resting until ten days from now.
    const char* subjects[] = {"Coelho Nova Zelândia - Lote C-01", "Coelho Nova Zelândia - Lote C-02",
                              "Camundongo Swiss - Lote M-11", "Camundongo Swiss - Lote M-12",
                              "Camundongo Swiss - Lote M-13"};
    for (int n = 0; n < 5; ++n) {
        Row(db, "COBAIA")
            .s("CDCOBAIA", padded(n + 1, 10))
            .s("NMCOBAIA", subjects[n])
            .d("DTNASCCOBAIA", dayAt(-200 - 15 * n))
            .s("IDSITCOBAIA", "A")
            .insert();
    }
    Row(db, "HISTCOBAIA")
        .s("CDCOBAIA", padded(1, 10))
        .i("NRSEQHISTCOB", 1)
        .d("DTINIHISTCOB", dayAt(-80))
        .d("DTFIMHISTCOB", dayAt(-50))
        .insert();
    Row(db, "HISTCOBAIA")
        .s("CDCOBAIA", padded(2, 10))
        .i("NRSEQHISTCOB", 1)
        .d("DTINIHISTCOB", dayAt(-20))
        .d("DTFIMHISTCOB", dayAt(10))
        .insert();

    const std::pair<const char*, const char*> justifications[] = {
        {"00001", "Correção de digitação"},
        {"00002", "Reanálise solicitada pelo cliente"},
        {"00003", "Erro de amostragem"},
        {"00004", "Lançamento em duplicidade"},
        {"00005", "Alteração autorizada pela gerência da qualidade"},
        {"00006", "Inclusão de análise exigida pelo perfil do produto"},
    };
    for (const auto& [code, text] : justifications) {
        Row(db, "JUSTIFICATIVA").s("CDJUSTIFICATIVA", code).s("DSJUSTIFICATIVA", text).insert();
    }
}

}  // namespace appserver::demo
