#include <stdexcept>

#include "appserver/demo/demo_model.h"
#include "appserver/demo/demo_rows.h"

namespace appserver::demo {

namespace {

struct Sector {
    const char* code;
    const char* name;
};
const Sector kSectors[] = {
    {"0001", "Laboratório"},          {"0002", "Produção"},      {"0003", "Almoxarifado"},
    {"0004", "Controle de Qualidade"}, {"0005", "Microbiologia"}, {"0006", "Expedição"},
};

struct Login {
    const char* code;
    const char* password;
    double hourCost;
};
// Passwords of the demo: DEMO/demo, ANALISTA/analista, SUPERVISOR/super, the
// others "senha".
const Login kLogins[] = {
    {"DEMO", "demo", 60.0},      {"ANALISTA", "analista", 38.5}, {"SUPERVISOR", "super", 72.0},
    {"MARIA", "senha", 41.0},    {"JOAO", "senha", 35.0},        {"LUCIA", "senha", 44.0},
    {"ROBERTO", "senha", 39.0},
};

}  // namespace

const std::vector<Operator>& operators() {
    static const std::vector<Operator> all = {
        {"DEMO", "Operador Demonstração", "0001", "0001"},
        {"ANALISTA", "Ana Paula Ribeiro", "0001", "0001"},
        {"SUPERVISOR", "Carlos Eduardo Martins", "0001", "0004"},
        {"MARIA", "Maria Aparecida Souza", "0001", "0005"},
        {"JOAO", "João Batista Ferreira", "0002", "0002"},
        {"LUCIA", "Lúcia Helena Costa", "0002", "0004"},
        {"ROBERTO", "Roberto Carlos Nunes", "0002", "0001"},
    };
    return all;
}

const Operator& operatorByCode(const std::string& code) {
    for (const auto& o : operators()) {
        if (o.code == code) return o;
    }
    throw std::logic_error("demo: operador desconhecido " + code);
}

std::string sectorName(const std::string& code) {
    for (const auto& s : kSectors) {
        if (code == s.code) return s.name;
    }
    throw std::logic_error("demo: setor desconhecido " + code);
}

void seedPeople(soci::session& db) {
    Row(db, "FILIAL")
        .s("CDFILIAL", "0001")
        .s("NMFILIAL", "Matriz")
        .s("NRCNPJFILIAL", "61585865000151")
        .s("NMCIDADE", "São Paulo")
        .s("SGESTADO", "SP")
        .insert();
    Row(db, "FILIAL")
        .s("CDFILIAL", "0002")
        .s("NMFILIAL", "Filial Sul")
        .s("NRCNPJFILIAL", "61585865000232")
        .s("NMCIDADE", "Porto Alegre")
        .s("SGESTADO", "RS")
        .insert();

    // The head office concludes analyses directly and allows partial approval of
    // raw material, packaging and finished product; the southern branch releases
    // analyses in a separate step.
    Row(db, "PARAMFILIAL").s("CDFILIAL", "0001").s("IDPERMESTNEG", "N").s("IDUTILLOTE", "S").insert();
    Row(db, "PARAMFILIAL").s("CDFILIAL", "0002").s("IDPERMESTNEG", "N").s("IDUTILLOTE", "S").insert();
    Row(db, "PARAMMXA")
        .s("CDFILIAL", "0001")
        .s("NRDIAMINQUA", "30")
        .s("IDUTSEGLIBANA", "N")
        .s("IDUTSEGLIBLOTE", "S")
        .s("IDLIBLOTEEST", "1")
        .s("IDPARCACABADO", "S")
        .s("IDPARCPROCESSO", "N")
        .s("IDPARCEMBALAGEM", "S")
        .s("IDPARCMATPRIMA", "S")
        .insert();
    Row(db, "PARAMMXA")
        .s("CDFILIAL", "0002")
        .s("NRDIAMINQUA", "15")
        .s("IDUTSEGLIBANA", "S")
        .s("IDUTSEGLIBLOTE", "S")
        .s("IDLIBLOTEEST", "1")
        .s("IDPARCACABADO", "N")
        .s("IDPARCPROCESSO", "N")
        .s("IDPARCEMBALAGEM", "N")
        .s("IDPARCMATPRIMA", "N")
        .insert();
    for (const char* branch : {"0001", "0002"}) {
        Row(db, "PARAMMAN")
            .s("CDFILIAL", branch)
            .s("IDUTSEGLIBLOTE", "S")
            .s("IDLIBLOTEEST", "1")
            .s("IDVALANARETPROD", "S")
            .s("IDVALINSPRETPRO", "N")
            .s("IDUTAUTSENHARET", "N")
            .s("IDALTERARETI", "S")
            .s("IDVDSEMIVDACAB", "N")
            .insert();
    }

    for (const auto& s : kSectors) Row(db, "SETOR").s("CDSETOR", s.code).s("NMSETOR", s.name).insert();

    for (const auto& login : kLogins) {
        const auto& o = operatorByCode(login.code);
        Row(db, "OPERADOR")
            .s("CDOPERADOR", o.code)
            .s("NMOPERADOR", o.name)
            .s("CDSENHAOPER", passwordHash(login.password))
            .s("CDFILIAL", o.branch)
            .s("CDSETOR", o.sector)
            .d("VRCUSTOHORA", login.hourCost)
            .s("IDATIVO", "S")
            .insert();
    }

    // Groups and their permissions. "exca" of group 04 is stored in lower case on
    // purpose: the client looks permission codes up ignoring case.
    struct Group {
        const char* code;
        const char* name;
        std::vector<const char*> permissions;
    };
    const Group groups[] = {
        {"01", "Administradores da Qualidade", {"ALTC", "EXCA", "IEIA", "CANA"}},
        {"02", "Supervisão da Qualidade", {"ALTC", "CANA"}},
        {"03", "Analistas de Laboratório", {}},
        {"04", "Microbiologia", {"exca", "IEIA"}},
    };
    for (const auto& g : groups) {
        Row(db, "GRUPOPER").s("CDGRUPOPER", g.code).s("DSGRUPOPER", g.name).insert();
        int n = 0;
        for (const char* p : g.permissions) {
            Row(db, "AUTGRUPOPER")
                .s("CDGRUPOPER", g.code)
                .s("IDAUTGRUPOP", p)
                .s("NRAUTGRUPOP", padded(++n, 3))
                .insert();
        }
    }
    const std::pair<const char*, const char*> members[] = {
        {"DEMO", "01"},  {"ANALISTA", "03"}, {"SUPERVISOR", "02"}, {"MARIA", "03"},
        {"MARIA", "04"}, {"JOAO", "03"},     {"LUCIA", "02"},      {"ROBERTO", "03"},
    };
    for (const auto& [op, group] : members) Row(db, "OPERGRUPO").s("CDOPERADOR", op).s("CDGRUPOPER", group).insert();

    // Skills with their hourly cost, and who holds them.
    struct Skill {
        const char* code;
        const char* name;
        double cost;
    };
    const Skill skills[] = {
        {"001", "Análise Físico-Química", 45.0},
        {"002", "Análise Microbiológica", 55.0},
        {"003", "Análise Sensorial", 30.0},
        {"004", "Cromatografia Líquida", 80.0},
        {"005", "Inspeção de Embalagens", 25.0},
    };
    for (const auto& s : skills) {
        Row(db, "HABILIDADE").s("CDHABILIDADE", s.code).s("NMHABILIDADE", s.name).d("VRCUSHRHABIL", s.cost).insert();
    }
    const std::pair<const char*, const char*> holders[] = {
        {"001", "DEMO"},    {"001", "ANALISTA"}, {"001", "ROBERTO"}, {"002", "DEMO"}, {"002", "MARIA"},
        {"003", "ANALISTA"}, {"003", "LUCIA"},   {"004", "SUPERVISOR"}, {"005", "JOAO"}, {"005", "ANALISTA"},
    };
    for (const auto& [skill, op] : holders) {
        Row(db, "HABILOPER").s("CDHABILIDADE", skill).s("CDOPERADOR", op).insert();
    }
}

}  // namespace appserver::demo
