// Texts of the header save: its refusals, the texts it sends to the server, the
// server's refusal codes and the toolbar's confirmations.
#include "screen/frame/pedido_ana.h"
#include "screen/request/request_save.h"

namespace screen::save {

void addSaveMessages(TfrmPedidoAna& s) {
    auto& m = s.msgPadrao;
    m.add("sem_vige",
          "Produto possui controle de vesão no perfil de Produto x Análise mas a data atual está fora de vigência, "
          "desta forma não é permitido lançamento de análise.");
    m.add("Proc_deve", "Processo deve ser informado.");
    m.add("Sit_nPend", "Situação não pode voltar para Pendente.");
    m.add("Situ_NAnda", "Situação está cancelada, não pode ser alterada.");
    m.add("Sit_nconc", "Situação não pode ser concluída. Existe(m) uma ou mais análises não realizadas.");
    m.add("Sit_nconcNOK", "Situação não pode ser Concluído Não Ok.");
    m.add("Sit_nconcOK", "Situação não pode ser Concluído Ok.");
    m.add("Data_Deve", "Data deve ser informada.");
    m.add("Hora_Deve", "Hora deve ser informada.");
    m.add("DataPrev_Deve", "Dt. previsão deve ser informada.");
    m.add("DtInc>DtPrev", "Dt. pedido deve ser menor que dt. previsão.");
    m.add("Descricao_Deve", "Descrição deve ser informada.");
    m.add("teor_inf", "Teor deve ser informado. Análise não será concluída.");
    m.add("teor_invalido", "Teor deve ser maior que 0. Análise não será concluída.");
    m.add("OPER_N_ALT", "Operador não possui permissão para concluir análise.");
    m.add("trans_not_ok",
          "Filial não utiliza controle de lote. Transferência de almoxarifado não poderá ser realizada.");

    // Sent with every save, for the server's own texts.
    m.add("Maior que", "Maior que ");
    m.add("Menor que", "Menor que ");
    m.add("Entre", "Entre ");
    m.add("LancRef", "Lanc.Ref. Conclusão de análise. Nr Pedido: ");
    m.add("Est_Irreg",
          "Não existe quantidade em estoque para o produto no almoxarifado %s. Transferência de estoque não foi "
          "realizada.");

    // The server's refusals of a save.
    m.add("AlmoxOrig_Cad", "Almoxarifado de Quarentena - Matéria Prima / Insumos não cadastrado para produto.");
    m.add("AlmoxDest_Cad", "Almoxarifado de Matéria Prima / Insumos para produção não cadastrado para o produto.");
    m.add("ALMOX_ORIG_PROD_INFO", "Almoxarifado de Quarentena - Produto Acabado não cadastrado para produto.");
    m.add("ALMOX_DEST_PROD_INFO", "Almoxarifado de Produto Acabado não cadastrado para o produto.");
    m.add("LIBLOTEESTQ_INFO",
          "Deve ser definido na tela de Parâmetros do Controle de Produção em qual rotina a transferência de "
          "almoxarifado (Quarentena - Liberado) deve ocorrer. Transferência de almoxarifado não pode ser realizado.");
    m.add("SEMQTDE_ESTQ",
          "Operação bloqueada. Não há quantidade do produto no almoxarifado de quarentena. Transferência de "
          "almoxarifado não pode ser realizado.");
    m.add("EST_IRREGULAR",
          "Operação bloqueada. Certifique-se de que o lote não foi utilizado para realizar a operação.");
    m.add("ALMOX_DEST_REPR_INFO", "Almoxarifado de Produto Reprovado não cadastrado para o produto.");
    m.add("N_POS_ESTOQUE",
          "Operação bloqueada. Não há quantidade do produto no almoxarifado parametrizado.Transferência de "
          "almoxarifado não pode ser realizada.");

    // The toolbar's confirmations.
    m.add("Excl", "Confirma exclusão?");
    m.add("Canc", "Confirma cancelamento?");
}

}  // namespace screen::save
