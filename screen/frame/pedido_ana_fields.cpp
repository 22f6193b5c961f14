#include <initializer_list>

#include "screen/frame/pedido_ana.h"

namespace screen {

using core::FieldType;

namespace {

struct F {
    const char* name;
    FieldType type;
    int size;
    const char* label;
    bool visible;
};

void declare(core::RecordSet& set, std::initializer_list<F> fields) {
    for (const auto& f : fields) {
        auto& field = set.addField(f.name, f.type, f.size, f.label);
        field.visible = f.visible;
    }
}

void key(core::RecordSet& set, std::initializer_list<const char*> names) {
    for (const char* n : names) set.field(n).def.inKey = true;
}

constexpr auto S = FieldType::String;
constexpr auto D = FieldType::DateTime;
constexpr auto N = FieldType::Float;
constexpr auto B = FieldType::Blob;

}  // namespace

// Field declarations of the screen's record sets. The sets other rules fill start
// with their keys and the fields the screen's creation touches, and grow with them.
void TfrmPedidoAna::declareFields() {
    declare(cdsParamMXA, {{"NRDIAMINQUA", S, 5, "", true},
                          {"IDUTSEGLIBANA", S, 1, "", true},
                          {"IDUTSEGLIBLOTE", S, 1, "", true},
                          {"IDLIBLOTEEST", S, 1, "", true},
                          {"IDPARCACABADO", S, 1, "", true},
                          {"IDPARCPROCESSO", S, 1, "", true},
                          {"IDPARCEMBALAGEM", S, 1, "", true},
                          {"IDPARCMATPRIMA", S, 1, "", true}});
    declare(cdsParamFilial, {{"IDPERMESTNEG", S, 1, "", true}, {"IDUTILLOTE", S, 1, "", true}});
    declare(cdsPermissaoAna, {{"CDGRUPOPER", S, 2, "", true},
                              {"IDAUTGRUPOP", S, 4, "", true},
                              {"NRAUTGRUPOP", S, 3, "", true},
                              {"DSGRUPOPER", S, 30, "", true},
                              {"CDSETOR", S, 4, "", true},
                              {"NMSETOR", S, 30, "", true},
                              {"CDOPERADOR", S, 12, "", true}});

    declare(cdsProduto, {{"CDARVPROD", S, 20, "Código", true},
                         {"CDPRODUTO", S, 10, "", false},
                         {"NMPRODUTO", S, 50, "Nome", true},
                         {"NRDIASVALANA", N, 0, "", false},
                         {"IDTEOROBRIG", S, 1, "", false}});
    declare(cdsLote, {{"LOTE", S, 24, "", false},
                      {"NRLOTEESTQ", S, 20, "Lote", true},
                      {"NRSUBLOTE", S, 4, "SubLote", true},
                      {"DTVALILOTE", S, 10, "Data de Validade", true},
                      {"NRLOTEFORN", S, 20, "", false},
                      {"DTFABRPROD", D, 0, "", false}});
    declare(cdsUltAnalise, {{"CDFILIAL", S, 4, "", true},
                            {"NRAUDITORIA", S, 10, "", true},
                            {"IDTPAUDITADO", S, 1, "", true},
                            {"IDSTATUSAUDI", S, 1, "", true},
                            {"CDPRODUTO", S, 10, "", true},
                            {"NRLOTEESTQ", S, 20, "", true},
                            {"NRSUBLOTE", S, 4, "", true}});

    declare(cdsInspecAudit, {{"CDFILIAL", S, 4, "Filial", true},
                             {"NRAUDITORIA", S, 10, "Nº Auditoria", true},
                             {"NRINSPECAUDI", S, 3, "Nº Análise", true},
                             {"IDTIPOINSAUD", S, 1, "Tipo", true},
                             {"CDOPERADOR", S, 12, "Operador", false},
                             {"CDINSPECAO", S, 10, "Inspeção", true},
                             {"DSINSPECAUDI", S, 60, "Descrição", true},
                             {"IDNOVAAMOSTR", S, 1, "Amostra", true},
                             {"CDARVINSPEC", S, 10, "Análise", true},
                             {"NMINSPECAO", S, 200, "Nome Análise", true},
                             {"DTFINRINSAUD", D, 0, "Dt. Conclusão", true},
                             {"IDINSPCONC", S, 1, "Situação", true},
                             {"DTINIRINSAUD", D, 0, "Dt. Início", true},
                             {"QTHRINSAUD", N, 0, "Tempo Gasto", true},
                             {"CDOPECONCINS", S, 12, "Operador", false},
                             {"NMOPERADOR", S, 40, "Operador", true},
                             {"TXINSPECAUDI", B, 0, "", false},
                             {"CDCOBAIA", S, 10, "", false},
                             {"NMCOBAIA", S, 150, "Cobaia", false},
                             {"CDORDEMAUDIT", S, 3, "Ord", false},
                             {"DSANALISE", S, 100, "", false}});
    key(cdsInspecAudit, {"CDFILIAL", "NRAUDITORIA", "NRINSPECAUDI"});

    declare(cdsItemInsAudit, {{"CDFILIAL", S, 4, "Filial", false},
                              {"NRAUDITORIA", S, 10, "Nº Auditoria", false},
                              {"NRINSPECAUDI", S, 3, "Nº Análise", false},
                              {"CDINSPECAO", S, 10, "Inspeção", false},
                              {"CDARVINSPEC", S, 10, "Análise", true},
                              {"NMINSPECAO", S, 200, "Nome Análise", true},
                              {"IDOPCACEITIN", S, 1, "Sit.", true},
                              {"CDRESPINSPEC", S, 5, "Resposta", true},
                              {"VRRESPINSAUD", N, 0, "Resultado", true},
                              {"DSLIMIINSP", S, 50, "Limite de Normalidade", true},
                              {"CDOPERADOR", S, 12, "Operador", false},
                              {"NMOPERADOR", S, 40, "Nome Operador", true}});
    key(cdsItemInsAudit, {"CDFILIAL", "NRAUDITORIA", "NRINSPECAUDI", "CDINSPECAO"});

    declare(cdsDsProd, {{"DSINSPROD", B, 0, "", true}});

    declare(cdsFormulaAna, {{"CDFILIAL", S, 4, "", false},
                            {"NRAUDITORIA", S, 10, "", false},
                            {"NRINSPECAUDI", S, 3, "", false},
                            {"CDARVPROD", S, 20, "Produto", true},
                            {"SGUNIDADE", S, 10, "UN.", true},
                            {"NRLOTEESTQ", S, 20, "Lote", true},
                            {"NRSUBLOTE", S, 4, "Sublote", true},
                            {"DTVALILOTE", D, 0, "Validade", true}});
    declare(cdsPesqProd, {{"CDARVPROD", S, 20, "Código", true},
                          {"NMPRODUTO", S, 50, "Nome Produto", true},
                          {"CDPRODUTO", S, 10, "", false}});
    declare(cdsCtrlEstqLote, {{"IDCNTRESTOQ", S, 1, "", true}, {"IDUTCTRLLOTE", S, 1, "", true}});

    declare(cdsRecurso, {{"NRSEQRECURANA", N, 0, "", false},
                         {"CDFILIAL", S, 4, "", false},
                         {"NRAUDITORIA", S, 10, "", false},
                         {"CDOPERADOR", S, 12, "Operador", true},
                         {"NRORDPROD", S, 10, "", false},
                         {"DTINIRECUR", D, 0, "Data Inicial", true},
                         {"DTFIMRECUR", D, 0, "Data Final", true},
                         {"CDEQUIPPRO", S, 10, "Equipamento", true},
                         {"CDHABILIDADE", S, 3, "Habilidade", true},
                         {"IDTPRECURSO", S, 1, "Tipo Recurso", true}});

    declare(qryInspUltNv, {{"CDARVINSPEC", S, 10, "Análise", true}});
    declare(qryInspecao, {{"CDARVINSPEC", S, 10, "Análise", true}});
}

}  // namespace screen
