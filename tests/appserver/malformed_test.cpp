// Bad requests are answered with a clear error, change nothing, and the server
// keeps serving; a client that goes away mid-call leaves no partial write.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "fixture.h"
#include "platform/host.h"
#include "platform/netconnection.h"
#include "platform/server_client.h"

namespace {

class MalformedTest : public ServerSuite {
protected:
    static std::string errorOf(const std::string& path, const std::string& body) {
        const auto raw = testsupport::post(port(), path, body);
        EXPECT_EQ(raw.status, 200) << raw.body;
        return core::decodeAnswer(raw.body).result.error;
    }
    static void stillServing() {
        auto a = testsupport::call("GetParamMXA", {"0001"});
        ASSERT_TRUE(a.result.isPacket()) << a.result.error;
        EXPECT_EQ(a.result.packet->rows.size(), 1u);
    }

    // Sends raw bytes on a fresh connection and closes it without reading the answer.
    static void sendAndHangUp(const std::string& bytes) {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        ASSERT_GE(fd, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<uint16_t>(port()));
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        ASSERT_EQ(::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size()));
        ::close(fd);
    }
    static std::string httpPost(const std::string& path, const std::string& body, size_t declaredLength) {
        return "POST " + path +
               " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\nAuthorization: Bearer " +
               platform::session().token + "\r\nContent-Length: " + std::to_string(declaredLength) + "\r\n\r\n" + body;
    }
    static core::Packet inserts(int n) {
        core::Packet p;
        p.fields = fields();
        for (int i = 0; i < n; ++i)
            p.delta.push_back({core::ChangeKind::Insert, {}, {"R" + std::to_string(i), "lote", core::Value(), 1.0, i}});
        return p;
    }
};

TEST_F(MalformedTest, EachKindGetsAClearErrorAndChangesNothing) {
    ASSERT_FALSE(save(inserts(3)).result.isError());
    const auto before = read();

    EXPECT_EQ(errorOf("/rdmPedidoAna/NaoExiste", R"({"args":[]})"),
              "Método desconhecido no servidor de aplicação: rdmPedidoAna.NaoExiste.");
    EXPECT_EQ(errorOf("/OutroModulo/GetParamMXA", R"({"args":["0001"]})"),
              "Módulo desconhecido no servidor de aplicação: OutroModulo.");
    EXPECT_NE(errorOf("/semmetodo", "{}").find("Caminho inválido"), std::string::npos);
    EXPECT_EQ(errorOf("/Teste/Salvar", R"({"args":[{"packet":)"), "Requisição mal formada: JSON inválido.");
    EXPECT_EQ(errorOf("/Teste/Salvar", R"([1,2])"), "Requisição mal formada: esperado um objeto.");
    EXPECT_EQ(errorOf("/Teste/Salvar", R"({"args":"x"})"), "Requisição mal formada: \"args\" deve ser uma lista.");
    EXPECT_NE(errorOf("/Teste/Salvar", R"({"args":[{"packet":{"fields":[{"name":"CDCHAVE","type":"string"}],"rows":[[1,2]]}}]})")
                  .find("Pacote de dados inválido"),
              std::string::npos);
    EXPECT_EQ(errorOf("/rdmPedidoAna/GetParamMXA", R"({"args":[]})"),
              "Método GetParamMXA: esperados 1 argumentos, recebidos 0.");
    EXPECT_EQ(errorOf("/rdmPedidoAna/GetParamMXA", R"({"args":["0001","0002"]})"),
              "Método GetParamMXA: esperados 1 argumentos, recebidos 2.");
    EXPECT_EQ(errorOf("/rdmPedidoAna/GetParamMXA", R"({"args":[12]})"),
              "Método GetParamMXA: o argumento 1 deve ser texto.");
    EXPECT_EQ(errorOf("/Teste/Salvar", R"({"args":["não é pacote"]})"),
              "Método Salvar: o argumento 1 deve ser pacote de dados.");

    // Fields that do not match the table, and text too long for its column: the
    // valid insert in front of them is undone with the call.
    auto p = inserts(2);
    p.delta[1].newValues[1] = std::string(11, 'x');
    EXPECT_EQ(save(p).result.error, "O valor do campo NMTEXTO excede 10 caracteres.");
    p = inserts(1);
    p.fields.push_back(appserver::field("NMSOBRA"));
    p.delta[0].newValues.push_back("x");
    EXPECT_EQ(save(p).result.error, "O campo NMSOBRA não existe na tabela TESTE_DELTA.");

    EXPECT_EQ(read(), before);
    stillServing();
}

// JSON for curl unless the binary form is named; a list written straight from the
// database reads the same either way, and a broken binary body is refused in kind.
TEST_F(MalformedTest, EachFormIsAnsweredInTheFormAskedFor) {
    ASSERT_FALSE(save(inserts(3)).result.isError());
    const auto json = testsupport::post(port(), "/Teste/Ler", core::encodeCall({}));
    const auto binary = testsupport::post(port(), "/Teste/Ler", core::encodeCall({}, core::Wire::Binary), std::nullopt,
                                          core::Wire::Binary);
    EXPECT_EQ(json.contentType, core::kJsonContentType);
    EXPECT_EQ(binary.contentType, core::kBinaryContentType);
    const auto fromJson = core::decodeAnswer(json.body), fromBinary = core::decodeAnswer(binary.body, core::Wire::Binary);
    ASSERT_TRUE(fromJson.result.isPacket()) << fromJson.result.error;
    ASSERT_TRUE(fromBinary.result.isPacket()) << fromBinary.result.error;
    EXPECT_FALSE(fromJson.result.packet->rows.empty());
    EXPECT_EQ(*fromBinary.result.packet, *fromJson.result.packet);

    const auto broken = testsupport::post(port(), "/rdmPedidoAna/GetParamMXA", "C\x01\x01\x05", std::nullopt,
                                          core::Wire::Binary);
    EXPECT_EQ(core::decodeAnswer(broken.body, core::Wire::Binary).result.error, "Pacote de dados inválido: pacote incompleto.");
    stillServing();
}

TEST_F(MalformedTest, RefusalCodesPassUnchangedAndUndoTheCall) {
    auto a = testsupport::call("Recusar", {"P_ALMOXORIG_CAD"}, "Teste");
    EXPECT_EQ(a.result.error, "P_ALMOXORIG_CAD");
    EXPECT_EQ(count(), 0);

    // A database failure: the user reads the database's words, never the statement.
    const auto broken = testsupport::call("Quebrar", {}, "Teste").result.error;
    EXPECT_EQ(broken.rfind("Erro no banco de dados: ", 0), 0u) << broken;
    EXPECT_EQ(broken.find("SELECT"), std::string::npos) << broken;
    EXPECT_EQ(count(), 0);

    // Optional trailing arguments and by-reference answers.
    a = testsupport::call("Eco", {"lote"}, "Teste");
    EXPECT_EQ(a.result.value.asInteger(), 1);
    ASSERT_EQ(a.out.size(), 1u);
    EXPECT_EQ(a.out[0].first, 0);
    EXPECT_EQ(a.out[0].second.value.asString(), "lote!");
    EXPECT_EQ(testsupport::call("Eco", {"a", 2.5}, "Teste").result.error,
              "Método Eco: o argumento 2 deve ser número inteiro.");
    EXPECT_EQ(testsupport::call("Eco", {}, "Teste").result.error, "Método Eco: esperados de 1 a 2 argumentos, recebidos 0.");
}

// The server reads a whole request before running it and runs each call in one
// transaction that commits or rolls back regardless of the client. So: a request
// cut off mid-body never runs; a request whose client hangs up before the answer
// runs whole. A reader polling meanwhile must only ever see all or nothing.
TEST_F(MalformedTest, ClientHangingUpLeavesNoPartialWrite) {
    const auto body = core::encodeCall({core::Variant(inserts(200))});

    sendAndHangUp(httpPost("/Teste/Salvar", body.substr(0, body.size() / 2), body.size()));
    stillServing();
    EXPECT_EQ(count(), 0);

    sendAndHangUp(httpPost("/Teste/Salvar", body, body.size()));
    std::set<int> seen;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    int n = 0;
    do {
        n = count();
        seen.insert(n);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    } while (n != 200 && std::chrono::steady_clock::now() < deadline);
    EXPECT_EQ(n, 200);
    for (int s : seen) EXPECT_TRUE(s == 0 || s == 200) << s << " linhas vistas no meio de uma chamada";
    stillServing();
}

}  // namespace

// A long list goes out as it is read to a client that accepts it: the client reads
// the same packet as the whole answer's, a failure after the rows started reaches it
// as the call's error, and a client that asks only for the binary form gets that.
TEST_F(MalformedTest, StreamedListsReadAsWholeOnesAndFailuresStayFailures) {
    auto& methods = server_->server().methods();
    const auto list = [](appserver::Call& c) -> core::Variant {
        c.expect({});
        return appserver::answerPacket(
            c.db(), fields(), "SELECT CDCHAVE, NMTEXTO, DTDATA, QTVALOR, NRCONTA FROM TESTE_DELTA ORDER BY CDCHAVE");
    };
    methods.addStreamed("Teste", "Lista", list);
    methods.addStreamed("Teste", "ListaFalha", [list](appserver::Call& c) -> core::Variant {
        list(c);
        throw appserver::Refusal("P_FALHA_LISTA");
    });
    ASSERT_FALSE(save(inserts(3)).result.isError());
    const core::Packet whole = read();
    ASSERT_EQ(whole.rows.size(), 3u);

    platform::TNetConnection conn;
    conn.ServerName = "MXA07300.Teste";
    conn.Host = "127.0.0.1";
    conn.Port = port();
    const core::Variant streamedList = conn.call("Lista", {});
    ASSERT_TRUE(streamedList.isPacket()) << streamedList.error;
    EXPECT_EQ(*streamedList.packet, whole);
    EXPECT_EQ(conn.call("ListaFalha", {}).error, "P_FALHA_LISTA");

    auto raw = [&](const std::string& accept, const std::string& token) {
        const auto& session = platform::session();
        auto client = platform::makeServerClient("127.0.0.1", port(), session.webTls, session.caFile);
        auto res = client->Post("/Teste/Lista", {{"Accept", accept}, {"Authorization", "Bearer " + token}},
                                core::encodeCall({}, core::Wire::Binary), core::kBinaryContentType);
        EXPECT_TRUE(res);
        core::AnswerStream s;
        s.feed(res->body);
        return std::make_pair(res->get_header_value("Content-Type"), s.finish());
    };
    const auto [type, answer] = raw(core::kStreamContentType, platform::session().token);
    EXPECT_EQ(type, core::kStreamContentType);
    ASSERT_TRUE(answer.result.isPacket()) << answer.result.error;
    EXPECT_EQ(*answer.result.packet, whole);
    EXPECT_EQ(raw(core::kBinaryContentType, platform::session().token).first, core::kBinaryContentType);
    EXPECT_EQ(raw(core::kStreamContentType, std::string(64, 'a')).second.result.error, core::kSessionRefused);
    stillServing();
}
