// The program's own security rules as the local cloud enforces them, with the service account
// built into the program: every request the windows and the publishing command make is allowed,
// nothing lists other people's data, and a write of the wrong shape is refused and stores nothing.
#include "CloudHttp.h"
#include "ServerProcess.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using nlohmann::json;
using TunewellTesting::LocalCloud;

namespace {

constexpr const char *kProfile = "-NqProfileKey0000001";
constexpr const char *kAdapter = "0A1B2C3D4E5F";
constexpr const char *kOtherAdapter = "001122334455";

json station(const std::string &num, const std::string &serie) {
    return {{"num", num},
            {"url", "http://127.0.0.1:8000/demo.mp3"},
            {"nome", "Rádio " + num},
            {"estilo", "Pop"},
            {"localizacao", "Centro"},
            {"qualidade", "128"},
            {"favorito", "2"},
            {"serie", serie}};
}

const json kPresence = {{"Hora_Entrada", "14:03:27"}, {"Data", "25/12/2019"}, {"Status", "Online"}};

json profileRecord() {
    return {{"CAD_NOME", "ANA"},
            {"CAD_SOBRENOME", "SILVA"},
            {"CAD_E-MAIL", "ana@example.org"},
            {"CAD_ANIVERSARIO", "01/02/1990"},
            {"CAD_PAIS", "BRASIL"},
            {"CAD_ESTADO", "SP"},
            {"CAD_DATA", "25/12/2019"}};
}

json machinePresence(const char *hour, const char *status) {
    return {{"Nome", "estudio-7"}, {hour, "14:03:27"}, {"Data", "25/12/2019"}, {"Status", status}};
}

struct Row {
    const char *what;
    const char *method;
    std::string path; // without ".json"
    json body;        // not sent for GET and DELETE
    int status;
    bool signedIn = true;
};

class RulesEnforcementTest : public ::testing::Test {
protected:
    // The program's own rules: the default.
    static void SetUpTestSuite() { cloud = std::make_unique<LocalCloud>(); }
    static void TearDownTestSuite() { cloud.reset(); }
    void SetUp() override {
        json profile = profileRecord();
        profile["LAST"] = {{"Serie", "12"}};
        profile["FAVORITOS"] = {{"11111", "2"}, {"12", "1"}};
        profile["STATUS"] = kPresence;
        cloud->seed("", {{"ESTACOES", {{"-NqStation000000001", station("1", "12")}}},
                         {"VERSOES", {{"Software", "2.2"}, {"Url", "https://tunewell.local/download"}}},
                         {"CADASTRADO", {{kProfile, profile}}},
                         {"NAO_CADASTRADO",
                          {{kAdapter, machinePresence("Hora_Entrada", "Online")},
                           {kOtherAdapter, machinePresence("Hora_Saida", "Offline")}}}});
        http = std::make_unique<CloudHttp>(*cloud);
    }

    Answer send(const Row &row) const {
        const std::string target = row.signedIn ? http->node(row.path) : row.path + ".json";
        const bool hasBody = std::string(row.method) != "GET" && std::string(row.method) != "DELETE";
        return http->database(row.method, target, hasBody ? row.body.dump() : "");
    }

    // Each row is answered as it says; a refused one leaves the whole tree as it was.
    void expectRows(const std::vector<Row> &rows) const {
        for (const auto &row : rows) {
            SCOPED_TRACE(std::string(row.what) + ": " + row.method + " " + row.path + " " + row.body.dump());
            const json before = cloud->read("");
            const auto answer = send(row);
            EXPECT_EQ(answer.status, row.status) << answer.body;
            if (row.status == 401) {
                EXPECT_EQ(answer.body, R"({"error":"Permission denied"})");
                EXPECT_EQ(cloud->read(""), before) << "a refused request changed the tree";
            }
        }
    }

    static std::string profile(const std::string &below = "") {
        return std::string("/CADASTRADO/") + kProfile + below;
    }

    static std::unique_ptr<LocalCloud> cloud;
    std::unique_ptr<CloudHttp> http;
};

std::unique_ptr<LocalCloud> RulesEnforcementTest::cloud;

TEST_F(RulesEnforcementTest, EveryRequestOfTheProgramIsAllowed) {
    const std::string machine = std::string("/NAO_CADASTRADO/") + kAdapter;
    json catalogue = {{"-NqStation000000001", station("1", "12")},
                      {"-NqStation000000002", station("2", "13")}};
    // A blank line of the station list is published as a record of empty members.
    catalogue["-NqStation000000003"] = station("3", "");
    for (const char *member : {"url", "nome", "estilo", "localizacao", "qualidade", "favorito"})
        catalogue["-NqStation000000003"][member] = "";
    expectRows({
        // Start-up: the version, the catalogue, the profile's last station and favourites, presence.
        {"version check", "GET", "/VERSOES", nullptr, 200},
        {"catalogue load", "GET", "/ESTACOES", nullptr, 200},
        {"last station", "GET", profile("/LAST"), nullptr, 200},
        {"favourites", "GET", profile("/FAVORITOS"), nullptr, 200},
        {"Online, merged", "PATCH", profile("/STATUS"), kPresence, 200},
        {"Online, replaced after a new sign-in", "PUT", profile("/STATUS"), kPresence, 200},
        {"Online without a profile", "PATCH", machine, machinePresence("Hora_Entrada", "Online"), 200},
        // A station played, a favourite marked and unmarked.
        {"last station played", "PATCH", profile("/LAST"), {{"Serie", "13"}}, 200},
        {"Include", "PATCH", profile("/FAVORITOS"), {{"13", "1"}}, 200},
        {"Exclude", "DELETE", profile("/FAVORITOS/13"), nullptr, 200},
        {"Exclude of a mark never written", "DELETE", profile("/FAVORITOS/99"), nullptr, 200},
        // Registration: the profile, its first LAST (empty with no station chosen) and FAVORITOS,
        // and the machine's record removed.
        {"profile created", "POST", "/CADASTRADO", profileRecord(), 200},
        {"first LAST without a station", "PATCH", profile("/LAST"), {{"Serie", ""}}, 200},
        {"first LAST", "PATCH", profile("/LAST"), {{"Serie", "12"}}, 200},
        {"placeholder favourite", "PATCH", profile("/FAVORITOS"), {{"11111", "2"}}, 200},
        {"machine record removed", "DELETE", machine, nullptr, 200},
        // The profile window's close and Delete.
        {"Online at the profile window's close", "PATCH", profile("/STATUS"), kPresence, 200},
        {"deletion mark",
         "PUT",
         profile("/EXCLUIDO"),
         {{"EXC_HORA", "14:03:27"}, {"EXC_DATA", "25/12/2019"}},
         200},
        // The main window's close.
        {"Offline",
         "PATCH",
         profile("/STATUS"),
         {{"Hora_Saida", "2:03:27 PM"}, {"Data", "12/25/2019"}, {"Status", "Offline"}},
         200},
        {"Offline without a profile", "PATCH", machine, machinePresence("Hora_Saida", "Offline"), 200},
        // The publishing command, and the help window's panel, as each writes the catalogue.
        {"catalogue replaced", "PUT", "/ESTACOES", catalogue, 200},
        {"version published",
         "PATCH",
         "/VERSOES",
         {{"Software", "2.3"}, {"Url", "https://example.org/get"}},
         200},
        {"catalogue deleted", "DELETE", "/ESTACOES", nullptr, 200},
        {"station added", "POST", "/ESTACOES", station("1", "12"), 200},
        // Stations of one's own.
        {"own station",
         "PUT",
         profile("/PROPRIAS/-NqOwn00000000000001"),
         {{"nome", "Minha"},
          {"url", "http://example.org/s"},
          {"estilo", "Jazz"},
          {"localizacao", "Casa"},
          {"serie", "900001"}},
         200},
        {"own station, least",
         "PATCH",
         profile("/PROPRIAS"),
         {{"-NqOwn00000000000002", {{"nome", "Outra"}, {"url", "http://example.org/t"}}}},
         200},
        {"own station added under a key the database gives, its serie negative",
         "POST",
         profile("/PROPRIAS"),
         {{"nome", "Nova"},
          {"url", "https://example.org/n"},
          {"estilo", ""},
          {"localizacao", ""},
          {"serie", "-3"}},
         200},
        {"a star and the last station on an own station", "PATCH", profile("/FAVORITOS"), {{"-3", "1"}}, 200},
        {"own station's star removed", "DELETE", profile("/FAVORITOS/-3"), nullptr, 200},
        {"own stations read", "GET", profile("/PROPRIAS"), nullptr, 200},
        {"own station removed", "DELETE", profile("/PROPRIAS/-NqOwn00000000000001"), nullptr, 200},
        {"the profile read whole", "GET", profile(), nullptr, 200},
    });
    // What was written is there.
    EXPECT_EQ(cloud->read(std::string("CADASTRADO/") + kProfile + "/STATUS/Status"), "Offline");
    EXPECT_EQ(cloud->read("VERSOES/Software"), "2.3");
}

TEST_F(RulesEnforcementTest, NothingListsOtherPeoplesData) {
    const std::string machine = std::string("/NAO_CADASTRADO/") + kAdapter;
    expectRows({
        {"the whole tree", "GET", "/", nullptr, 401},
        {"every profile", "GET", "/CADASTRADO", nullptr, 401},
        {"every machine", "GET", "/NAO_CADASTRADO", nullptr, 401},
        {"another machine's record", "GET", std::string("/NAO_CADASTRADO/") + kOtherAdapter, nullptr, 401},
        {"this machine's record: nobody reads it", "GET", machine, nullptr, 401},
        {"not signed in", "GET", "/ESTACOES", nullptr, 401, false},
        {"a profile, not signed in", "GET", profile("/LAST"), nullptr, 401, false},
        {"a write, not signed in", "PATCH", profile("/LAST"), {{"Serie", "13"}}, 401, false},
        {"the tree replaced", "PUT", "/", {{"ESTACOES", nullptr}}, 401},
        {"every profile replaced", "PUT", "/CADASTRADO", json::object({{"x", profileRecord()}}), 401},
        {"every profile removed", "DELETE", "/CADASTRADO", nullptr, 401},
        {"every machine removed", "DELETE", "/NAO_CADASTRADO", nullptr, 401},
        {"a node of its own at the top", "PUT", "/junk", "x", 401},
    });
    // The answer to an allowed write is no read of anything beyond it.
    const auto merged =
        http->database("PATCH", http->node(machine), machinePresence("Hora_Saida", "Offline").dump());
    EXPECT_EQ(merged.status, 200);
    EXPECT_EQ(json::parse(merged.body), machinePresence("Hora_Saida", "Offline"));
}

TEST_F(RulesEnforcementTest, WritesOfTheWrongShapeAreRefusedAndStoreNothing) {
    const std::string machine = std::string("/NAO_CADASTRADO/") + kAdapter;
    json longName = profileRecord();
    longName["CAD_NOME"] = std::string(32768, 'A');
    json longBirthday = profileRecord();
    longBirthday["CAD_ANIVERSARIO"] = "01/02/19900";
    json extraMember = profileRecord();
    extraMember["CAD_SENHA"] = "x";
    json numberName = profileRecord();
    numberName["CAD_NOME"] = 1;
    json stationWithout = station("1", "12");
    stationWithout.erase("serie");
    json stationExtra = station("1", "12");
    stationExtra["extra"] = "x";
    json stationLongName = station("1", "12");
    stationLongName["nome"] = std::string(151, 'x');
    json stationLongStyle = station("1", "12");
    stationLongStyle["estilo"] = std::string(31, 'x');
    expectRows({
        {"LAST: a number", "PATCH", profile("/LAST"), {{"Serie", 12}}, 401},
        {"LAST: not decimal", "PATCH", profile("/LAST"), {{"Serie", "12; drop"}}, 401},
        {"LAST: a member more", "PATCH", profile("/LAST"), {{"Serie", "12"}, {"Nota", "x"}}, 401},
        {"LAST: a text instead of the record", "PUT", profile("/LAST"), "12", 401},
        {"LAST: without Serie", "PUT", profile("/LAST"), {{"Nota", "x"}}, 401},
        {"STATUS: without the date and hour", "PUT", profile("/STATUS"), {{"Status", "Online"}}, 401},
        {"STATUS: an unknown status", "PATCH", profile("/STATUS"), {{"Status", "Away"}}, 401},
        {"STATUS: a member more", "PATCH", profile("/STATUS"), {{"Cidade", "x"}}, 401},
        {"STATUS: an hour too long",
         "PATCH",
         profile("/STATUS"),
         {{"Hora_Saida", std::string(128, '1')}},
         401},
        {"profile: a name over the edit's limit", "POST", "/CADASTRADO", longName, 401},
        {"profile: a birthday over the mask", "POST", "/CADASTRADO", longBirthday, 401},
        {"profile: a member more", "POST", "/CADASTRADO", extraMember, 401},
        {"profile: a number", "POST", "/CADASTRADO", numberName, 401},
        {"profile: a text instead of the record", "PUT", profile(), "junk", 401},
        {"profile: a member more in place", "PATCH", profile(), {{"CAD_SENHA", "x"}}, 401},
        {"FAVORITOS: another mark", "PATCH", profile("/FAVORITOS"), {{"12", "3"}}, 401},
        {"FAVORITOS: a serie that is no number", "PATCH", profile("/FAVORITOS"), {{"abc", "1"}}, 401},
        {"FAVORITOS: a text instead of the record", "PUT", profile("/FAVORITOS"), "1", 401},
        {"EXCLUIDO: without its date", "PUT", profile("/EXCLUIDO"), {{"EXC_HORA", "14:03:27"}}, 401},
        {"PROPRIAS: without an address", "PUT", profile("/PROPRIAS/-NqOwn1"), {{"nome", "x"}}, 401},
        {"PROPRIAS: outside a profile", "POST", "/PROPRIAS", {{"nome", "x"}, {"url", "http://x"}}, 401},
        {"PROPRIAS: under a machine's record",
         "PUT",
         machine + "/PROPRIAS/-NqOwn1",
         {{"nome", "x"}, {"url", "http://x"}},
         401},
        {"PROPRIAS: a member more",
         "PUT",
         profile("/PROPRIAS/-NqOwn1"),
         {{"nome", "x"}, {"url", "http://x"}, {"senha", "x"}},
         401},
        {"PROPRIAS: a name too long",
         "PUT",
         profile("/PROPRIAS/-NqOwn1"),
         {{"nome", std::string(151, 'x')}, {"url", "http://x"}},
         401},
        {"PROPRIAS: a serie that is no number",
         "PUT",
         profile("/PROPRIAS/-NqOwn1"),
         {{"nome", "x"}, {"url", "http://x"}, {"serie", "x1"}},
         401},
        {"machine: a key in lower case", "PATCH", "/NAO_CADASTRADO/0a1b2c3d4e5f",
         machinePresence("Hora_Entrada", "Online"), 401},
        {"machine: a key of another length", "PATCH", "/NAO_CADASTRADO/0A1B2C3D4E",
         machinePresence("Hora_Entrada", "Online"), 401},
        {"machine: a name too long", "PATCH", machine, {{"Nome", std::string(61, 'n')}}, 401},
        {"machine: a new record without its name", "PATCH", std::string("/NAO_CADASTRADO/") + "AABBCCDDEEFF",
         kPresence, 401},
        {"catalogue: a station without its serie",
         "PATCH",
         "/ESTACOES",
         {{"-NqStation9", stationWithout}},
         401},
        {"catalogue: a station with a member more", "PUT", "/ESTACOES/-NqStation9", stationExtra, 401},
        {"catalogue: a text", "PUT", "/ESTACOES", "junk", 401},
        {"catalogue: a name over the grid's limit", "PUT", "/ESTACOES/-NqStation9", stationLongName, 401},
        {"catalogue: a style over the grid's limit", "PUT", "/ESTACOES/-NqStation9", stationLongStyle, 401},
        {"version: a number", "PATCH", "/VERSOES", {{"Software", 2.3}}, 401},
        {"version: a member more", "PATCH", "/VERSOES", {{"Notas", "x"}}, 401},
    });
}

TEST_F(RulesEnforcementTest, TheAdministratorIsNotBoundByTheRules) {
    // Tests set up and inspect the tree so; the program never sends the header.
    const auto whole = http->raw(cloud->databaseUrl(), "GET", "/.json", "", "application/json");
    EXPECT_EQ(whole.status, 401);
    EXPECT_TRUE(cloud->read("").contains("NAO_CADASTRADO"));
}

TEST_F(RulesEnforcementTest, EventStreamsNeedTheRightToRead) {
    httplib::Client client(cloud->databaseUrl());
    client.set_read_timeout(5);
    for (const std::string path : {"/", "/CADASTRADO", "/NAO_CADASTRADO"}) {
        std::string received;
        const auto answer = client.Get(http->node(path), {{"Accept", "text/event-stream"}},
                                       [&](const char *data, std::size_t length) {
                                           received.append(data, length);
                                           return true;
                                       });
        ASSERT_TRUE(answer) << path;
        EXPECT_EQ(answer->status, 401) << path;
        EXPECT_EQ(received, R"({"error":"Permission denied"})") << path;
    }
    // A readable node streams; its first event is the node's value.
    std::string received;
    client.Get(http->node("/VERSOES"), {{"Accept", "text/event-stream"}},
               [&](const char *data, std::size_t length) {
                   received.append(data, length);
                   return received.find("\n\n") == std::string::npos;
               });
    EXPECT_EQ(received.rfind("event: put\ndata: {\"path\":\"/\",\"data\":{\"Software\"", 0), 0u) << received;
}

TEST(RulesFileTest, ARulesFileThatDoesNotParseStopsTheServerWithItsLineAndColumn) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("tunewell-rules-serve-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto rules = folder / "broken.rules.json";
    std::ofstream(rules) << "{\n  \"rules\": {\n    \".read\": \"auth != nul\"\n  }\n}\n";
    const auto log = folder / "serve.log";
    const int status = TunewellTesting::ServerProcess::run({LocalCloud::serverBinary(), "serve", "--data",
                                                            (folder / "data").string(), "--db-port", "0",
                                                            "--auth-port", "0", "--rules", rules.string()},
                                                           log);
    EXPECT_EQ(status, 1);
    std::ifstream in(log);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find(rules.string() + ":3:23: unknown name 'nul'"), std::string::npos) << text;
    EXPECT_FALSE(std::filesystem::exists(folder / "data")) << "the data folder was touched";
    std::filesystem::remove_all(folder);
}

} // namespace
