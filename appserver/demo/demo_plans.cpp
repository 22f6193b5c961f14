#include "appserver/demo/demo_model.h"
#include "appserver/demo/demo_rows.h"

namespace appserver::demo {

// Plans of the scheduled tasks: two fall due at the first run, one later, one is
// switched off, and the southern branch has its own.
void seedPlans(soci::session& db) {
    struct Plan {
        const char* branch;
        const char* number;
        const char* description;
        const char* productTree;
        const char* sector;
        int interval;
        int dueInDays;
        bool active;
    };
    const Plan plans[] = {
        {"0001", "000001", "Monitoramento semanal do açúcar", "1010020001", "0001", 7, -3, true},
        {"0001", "000002", "Controle diário do xarope base", "3010010001", "0002", 1, 0, true},
        {"0001", "000003", "Estabilidade mensal do suco 1L", "4010010001", "0001", 30, 12, true},
        {"0001", "000004", "Controle de tampas (suspenso)", "2010010002", "0001", 15, -20, false},
        {"0002", "000001", "Monitoramento quinzenal do néctar", "4010010003", "0001", 15, -1, true},
    };
    for (const auto& p : plans) {
        const auto& product = productByTree(p.productTree);
        Row(db, "PLANOANALISE")
            .s("CDFILIAL", p.branch)
            .s("NRPLANOANA", p.number)
            .s("DSPLANOANA", p.description)
            .s("CDPRODUTO", product.code)
            .s("IDTPAUDITADO", std::string(1, product.type == 'R' ? 'M' : product.type))
            .s("CDSETEXECAUD", p.sector)
            .i("NRDIASINTERV", p.interval)
            .d("DTPROXANA", dayAt(p.dueInDays))
            .s("IDATIVO", p.active ? "S" : "N")
            .insert();
    }
}

}  // namespace appserver::demo
