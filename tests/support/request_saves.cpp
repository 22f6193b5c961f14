#include "support/request_saves.h"

#include <vector>

#include "core/datetime.h"
#include "core/error.h"
#include "records/record_set.h"
#include "records/request_record.h"

namespace testsupport {

std::vector<core::Variant> setAuditoriaArgs(const core::RecordSet& header, const SaveFlags& f) {
    const auto text = [&](const char* field) { return core::Variant(header.field(field).asString()); };
    return {
        header.delta(),
        f.nullFields.empty() ? header.nullFieldList() : f.nullFields,
        f.operatorCode,
        "Maior que ",
        "Menor que ",
        "Entre ",
        f.concludes,
        "Almoxarifado de Quarentena - Matéria Prima / Insumos não cadastrado para produto.",
        "Almoxarifado de Matéria Prima / Insumos para produção não cadastrado para o produto.",
        "Não existe quantidade em estoque para o produto no almoxarifado %s. Transferência de estoque não foi "
        "realizada.",
        text("CDPRODUTO"),
        text("NRLOTEESTQ"),
        text("NRSUBLOTE"),
        text("CDFILIAL"),
        "Lanc.Ref. Conclusão de análise. Nr Pedido: ",
        text("NRAUDITORIA"),
        f.kind,
        "",
        text("IDTPAUDITADO"),
        header.field("QTAMOSAUDI").asFloat(),
        f.revertsTransfer,
        text("TIPOANA"),
        f.recalculatesValidity,
        core::Variant(header.field("DTFINREALAUD").value()),
        f.approved,
        f.rejected,
        f.newSubLot,
    };
}

RequestSaver::RequestSaver(const std::string& host, int port, std::string branch, std::string operatorCode)
    : branch_(std::move(branch)), operator_(std::move(operatorCode)) {
    conn_.Host = host;
    conn_.Port = port;
    conn_.ThrowException = true;
    records::declareSet(header_, records::requestRecord());
    header_.open();
}

std::string RequestSaver::insert(const std::string& description) {
    const std::string number = conn_.call("GetPrxAuditoria", {branch_}).value.asString();
    if (number.empty()) throw core::Error("GetPrxAuditoria não numerou o pedido.");
    // Only the request being saved stays in the set, as after a reload of the list.
    header_.emptyDataSet();
    header_.append();
    const core::DateTime now = core::DateTime::now();
    header_["CDFILIAL"].setValue(branch_);
    header_["NRAUDITORIA"].setValue(number);
    header_["IDSTATUSAUDI"].setValue("1");
    header_["DTINCLAUDIT"].setValue(now);
    header_["DATA"].setValue(now);
    header_["HORA"].setValue(now);
    header_["CDPRODUTO"].setValue("0000000004");
    header_["IDTPAUDITADO"].setValue("M");
    header_["CDSETEXECAUD"].setValue("0001");
    header_["DSREFEAUDIT"].setValue(description);
    header_["CDOPEINCAUDI"].setValue(operator_);
    header_["IDORIGAUDIT"].setValue("ANA");
    header_["IDLIBERAUDIT"].setValue("S");
    header_["IDCOMPATIBILIDADE"].setValue("N");
    header_.post();
    save();
    return number;
}

void RequestSaver::modify(const std::string& description) {
    header_.edit();
    header_["DSREFEAUDIT"].setValue(description);
    header_.post();
    save();
}

void RequestSaver::save() {
    SaveFlags flags;
    flags.operatorCode = operator_;
    auto args = setAuditoriaArgs(header_, flags);
    try {
        conn_.call("SetAuditoria", args);
    } catch (...) {
        header_.cancelUpdates();
        throw;
    }
    header_.mergeChangeLog();
}

}  // namespace testsupport
