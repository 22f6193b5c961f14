#include <string>
#include <vector>

#include "appserver/demo/demo_data.h"
#include "appserver/demo/demo_model.h"
#include "appserver/demo/demo_rows.h"
#include "appserver/dialect/dialect.h"

namespace appserver {

void seedBulkRequests(soci::session& db, int count) {
    if (count <= 0) return;
    const std::string branch = "0001";
    long long next = dialectOf(db).highestNumber(db, "AUDITORIA", "NRAUDITORIA", {{"CDFILIAL", branch}}) + 1;

    // Rotate over the finished, in-process and raw-material lots the demo stocks.
    struct Source {
        const char* productTree;
        const char* lot;
        char process;
        const char* sector;
    };
    const Source sources[] = {
        {"4010010001", "SL240306", 'A', "0001"}, {"3010010002", "SG240306", 'P', "0002"},
        {"1010010001", "AC240301", 'M', "0001"}, {"2010010001", "FP240301", 'E', "0004"},
        {"1010020001", "AZ240305", 'M', "0005"}, {"4010010003", "NU240304", 'A', "0001"},
    };
    const char situations[] = {'1', '2', '2', '4', '1', '5', '3'};
    const auto& creator = demo::operatorByCode("DEMO");

    constexpr int kBatch = 1000;
    std::vector<std::string> filial, numero, status, lote, sublote, produto, setor, operador, descricao, origem,
        processo, liberado, idtipoana, compat, teorobrig;
    std::vector<double> inclusao, data, hora, amostra;
    auto clear = [&] {
        for (auto* v : {&filial, &numero, &status, &lote, &sublote, &produto, &setor, &operador, &descricao, &origem,
                        &processo, &liberado, &idtipoana, &compat, &teorobrig}) {
            v->clear();
        }
        for (auto* v : {&inclusao, &data, &hora, &amostra}) v->clear();
    };
    for (int done = 0; done < count;) {
        const int n = std::min(kBatch, count - done);
        clear();
        for (int k = 0; k < n; ++k, ++next) {
            const auto& source = sources[next % (sizeof sources / sizeof sources[0])];
            const auto& product = demo::productByTree(source.productTree);
            // Spread over the last two years, at working hours.
            const double included = demo::dayAt(-static_cast<int>(next % 730), 7 + static_cast<int>(next % 10),
                                                static_cast<int>((next * 7) % 60));
            filial.push_back(branch);
            numero.push_back(demo::padded(next, 10));
            status.emplace_back(1, situations[next % (sizeof situations)]);
            inclusao.push_back(included);
            data.push_back(static_cast<double>(static_cast<long long>(included)));
            hora.push_back(included);
            lote.emplace_back(source.lot);
            sublote.emplace_back(" ");
            produto.push_back(product.code);
            setor.emplace_back(source.sector);
            operador.push_back(creator.code);
            descricao.push_back("Pedido de carga " + std::to_string(next));
            origem.emplace_back("ANA");
            processo.emplace_back(1, source.process);
            liberado.emplace_back("S");
            idtipoana.emplace_back("A");
            compat.emplace_back("N");
            teorobrig.emplace_back(product.contentRequired ? "S" : "N");
            amostra.push_back(product.unit == "UN" ? 6.0 : 0.5);
        }
        // Bound after filling: the PostgreSQL backend sizes its buffers at binding.
        soci::statement insert =
            (db.prepare << "INSERT INTO AUDITORIA (CDFILIAL, NRAUDITORIA, IDSTATUSAUDI, DTINCLAUDIT, DATA, HORA, "
                           "NRLOTEESTQ, NRSUBLOTE, CDPRODUTO, CDSETEXECAUD, CDOPEINCAUDI, DSREFEAUDIT, IDORIGAUDIT, "
                           "IDTPAUDITADO, IDLIBERAUDIT, IDTIPOANA, IDCOMPATIBILIDADE, IDTEOROBRIG, QTAMOSAUDI) VALUES "
                           "(:f, :n, :s, :i, :d, :h, :l, :sl, :p, :st, :o, :ds, :or, :pr, :li, :it, :c, :t, :q)",
             soci::use(filial), soci::use(numero), soci::use(status), soci::use(inclusao), soci::use(data),
             soci::use(hora), soci::use(lote), soci::use(sublote), soci::use(produto), soci::use(setor),
             soci::use(operador), soci::use(descricao), soci::use(origem), soci::use(processo), soci::use(liberado),
             soci::use(idtipoana), soci::use(compat), soci::use(teorobrig), soci::use(amostra));
        insert.execute(true);
        done += n;
    }
}

}  // namespace appserver
