#include "FormRadioFixture.h"

#include "Cumulo/Helpers.h"
#include "app/core/StationTable.h"
#include "app/ui/StationFilterModel.h"
#include "app/ui/StationTableModel.h"
#include "app/ui/TunewellApplication.h"
#include "shared/core/Registro.h"

#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace Tunewell::Testing {

using Cumulo::TJSONValue;

namespace {
// Three stations in catalogue order; their numbers sort 2, 7, 10 and their names B, C, A.
const char *kCatalogue = R"({
  "-Station01aaa": {"num":"10","url":"http://127.0.0.1:1/ten","nome":"Alpha","estilo":"Rock",
                    "localizacao":"BR","qualidade":"128k","favorito":"2","serie":"12"},
  "-Station02bbb": {"num":"2","url":"http://127.0.0.1:1/two","nome":"Bravo","estilo":"Jazz",
                    "localizacao":"PT","qualidade":"64k","favorito":"2","serie":"15"},
  "-Station03ccc": {"num":"7","url":"http://127.0.0.1:1/seven","nome":"Charlie","estilo":"Pop",
                    "localizacao":"US","qualidade":"32k","favorito":"1","serie":"20"}
})";
} // namespace

void FormRadioFixture::SetUp() {
    TunewellApplication::Instance()->ShowErrorsThrough(&Dialogs);
    ExcluirRegistro(QStringLiteral("Firebase"), QString(), QStringLiteral("Registrado"), QString());
    *Script = FakeCloudScript{};
    Script->Tree["ESTACOES"] = TJSONValue::parse(kCatalogue);
    Script->Tree["VERSOES"] = TJSONValue{{"Software", "2.2"}, {"Url", "http://127.0.0.1:1/download"}};
    Script->Tree["CADASTRADO"][kProfile]["LAST"] = TJSONValue{{"Serie", "15"}};
    Script->Tree["CADASTRADO"][kProfile]["FAVORITOS"] = TJSONValue{{"11111", "2"}, {"12", "1"}};
}

void FormRadioFixture::TearDown() {
    if (Form) {
        WaitForCloud();
        Form->hide();
    }
    Form.reset();
    ExcluirRegistro(QStringLiteral("Firebase"), QString(), QStringLiteral("Registrado"), QString());
    TunewellApplication::Instance()->ShowErrorsThrough(nullptr);
    Cumulo::TFirebaseHelpers::SetAppTerminated(false);
}

void FormRadioFixture::SetProfile(const std::string &ProfileID) {
    GravarRegistro(QStringLiteral("Firebase"), QString(), QStringLiteral("Registrado"),
                   QString::fromStdString(ProfileID));
}

TFormRadio &FormRadioFixture::Start() {
    Create();
    RunAndWaitForStartUp([this] { Form->show(); });
    return *Form;
}

TFormRadio &FormRadioFixture::Create() {
    // A new program: a window closed before ended the last one as far as the cloud client knows.
    Cumulo::TFirebaseHelpers::SetAppTerminated(false);
    auto player = std::make_unique<RecordingPlayer>();
    Player = player.get();
    auto children = [this](ChildWindow, TFormRadio &) {
        auto dialog = std::make_unique<QDialog>();
        QDialog *shown = dialog.get();
        QTimer::singleShot(0, shown, [this, shown] {
            ChildPositions.push_back(shown->pos());
            shown->accept();
        });
        return dialog;
    };
    Form = std::make_unique<TFormRadio>(WindowEnvironment{Dialogs, Clients, Settings}, std::move(player),
                                        Children ? Children : children);
    Form->UseKeptCatalogue(Kept);
    Form->UseLocalCloudStarter(LocalCloud);
    KeptCount = 0;
    QObject::connect(Form.get(), &TFormRadio::CatalogueKept, [this] { ++KeptCount; });
    return *Form;
}

void FormRadioFixture::WaitForKept(int Count) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return KeptCount >= Count; }, 10000)) << "the catalogue was not kept";
}

void FormRadioFixture::RunAndWaitForStartUp(const std::function<void()> &Action) {
    QSignalSpy finished(Form.get(), &TFormRadio::StartUpSequenceFinished);
    Action();
    if (finished.isEmpty()) {
        ASSERT_TRUE(finished.wait(10000)) << "the start-up sequence did not end";
    }
}

void FormRadioFixture::WaitForCloud() {
    ASSERT_TRUE(QTest::qWaitFor([this] { return Form->CloudIdle(); }, 10000))
        << "the cloud steps did not end";
}

int FormRadioFixture::RowOfSerie(const std::string &Serie) const {
    for (int row = 0; row < Form->cdsRadios.RowCount(); ++row)
        if (Form->cdsRadios.DisplayText(row, fpSerie) == Serie)
            return row;
    return -1;
}

void FormRadioFixture::ClickCell(int Row, int Column) {
    const QRect cell = Form->DBGrid1->visualRect(Form->Filter1->IndexOfTableRow(Row, Column));
    // Near the left edge: the Fav column is only partly in view.
    QTest::mouseClick(Form->DBGrid1->viewport(), Qt::LeftButton, {},
                      QPoint(cell.left() + 4, cell.center().y()));
}

const TJSONValue *FormRadioFixture::Node(const Cumulo::TStringDynArray &Path) const {
    return FindNode(Script->Tree, Path);
}

std::vector<std::string> FormRadioFixture::CallsTo(const std::string &Needle) const {
    std::vector<std::string> calls;
    for (const auto &call : Script->Calls)
        if (call.find(Needle) != std::string::npos)
            calls.push_back(call);
    return calls;
}

} // namespace Tunewell::Testing
