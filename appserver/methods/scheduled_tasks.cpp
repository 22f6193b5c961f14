// The scheduled-task module "LKS52738": started for the analyses ("ANA") it raises a
// request for every analysis plan of the branch that has fallen due.
#include <cmath>
#include <string>

#include "appserver/methods/methods.h"
#include "appserver/numbering.h"
#include "appserver/sql.h"
#include "core/error.h"

namespace appserver {

namespace {

using core::FieldType;

// The first date after `due` in steps of `interval` days that lies on or after `from`.
double nextDue(double due, int interval, double from) {
    const double steps = std::ceil((from - due) / interval);
    double next = due + std::max(1.0, steps) * interval;
    while (next < from) next += interval;
    return next;
}

core::Variant GeraTarefas(Call& c) {
    c.expect({Arg::Text, Arg::Text, Arg::Text});
    const std::string module = c.text(0);
    if (module != "ANA") throw core::Error("Tarefas programadas: módulo \"" + module + "\" desconhecido.");
    const std::string branch = c.text(1);
    const std::string operatorCode = c.sessionOperator(2);
    const core::DateTime now = core::DateTime::now();
    const double stamp = std::floor(now.days * 1440.0 + 1e-6) / 1440.0;  // to the minute, as the screen keeps it
    const double tomorrow = now.datePart().days + 1;

    const auto plans = queryRows(c.db(),
                                 "SELECT PL.NRPLANOANA, PL.DSPLANOANA, PL.CDPRODUTO, PL.IDTPAUDITADO, PL.CDSETEXECAUD, "
                                 "PL.NRDIASINTERV, PL.DTPROXANA FROM PLANOANALISE PL "
                                 "JOIN PRODUTO P ON P.CDPRODUTO = PL.CDPRODUTO AND P.IDATIVO = 'S' "
                                 "WHERE PL.CDFILIAL = :f AND PL.IDATIVO = 'S' AND PL.DTPROXANA < :d "
                                 "ORDER BY PL.DTPROXANA, PL.NRPLANOANA",
                                 {branch, tomorrow},
                                 {FieldType::String, FieldType::String, FieldType::String, FieldType::String,
                                  FieldType::String, FieldType::Integer, FieldType::Float});
    int64_t created = 0;
    for (const auto& plan : plans) {
        const int interval = static_cast<int>(plan[5].asInteger());
        if (interval <= 0) continue;
        const double due = plan[6].asFloat();
        // The plan is claimed first: a run at the same moment on another workstation
        // finds its date moved and raises nothing for it.
        if (execute(c.db(),
                    "UPDATE PLANOANALISE SET DTPROXANA = :n WHERE CDFILIAL = :f AND NRPLANOANA = :p "
                    "AND DTPROXANA = :d",
                    {nextDue(due, interval, tomorrow), branch, plan[0], due}) != 1)
            continue;
        execute(c.db(),
                "INSERT INTO AUDITORIA (CDFILIAL, NRAUDITORIA, IDSTATUSAUDI, DTINCLAUDIT, DATA, HORA, CDPRODUTO, "
                "IDTPAUDITADO, CDSETEXECAUD, DSREFEAUDIT, IDORIGAUDIT, IDLIBERAUDIT, CDOPEINCAUDI, IDTIPOANA, "
                "IDCOMPATIBILIDADE) VALUES (:f, :n, '1', :t, :t2, :t3, :p, :tp, :s, :ds, 'TAR', 'S', :o, 'A', 'N')",
                {branch, nextRequestNumber(c.db(), c.dialect(), branch), stamp, stamp, stamp, plan[2], plan[3], plan[4],
                 plan[1], operatorCode});
        ++created;
    }
    return created;
}

}  // namespace

void registerScheduledTaskMethods(MethodTable& t) { t.add(kHostModule, "GeraTarefas", GeraTarefas); }

}  // namespace appserver
