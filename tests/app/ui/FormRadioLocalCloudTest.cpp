// The main window's start when the program's own local cloud must be started first.
#include "FormRadioFixture.h"
#include "shared/core/LocalCloudStarter.h"
#include "app/ui/StatusNotice.h"
#include "shared/core/WindowCloud.h"

#include <QTest>
#include <atomic>
#include <thread>

namespace Tunewell::Testing {
namespace {

using Kind = RecordingDialogs::Kind;

// Starts nothing: says whether a start is needed, and holds it until released.
class ScriptedStarter : public ILocalCloudStarter {
public:
    explicit ScriptedStarter(FakeCloudScript &Script) : Script_(Script) {}

    bool NeedsStart() override { return Needed; }
    void Start() override {
        CloudCallsBeforeStart = static_cast<int>(Script_.Calls.size());
        ++Starts;
        while (!Released)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (!Failure.empty())
            throw ELocalCloudStart(Failure);
    }

    std::atomic<bool> Needed = true;
    std::atomic<bool> Released = true;
    std::string Failure;
    std::atomic<int> Starts = 0;
    std::atomic<int> CloudCallsBeforeStart = -1;

private:
    FakeCloudScript &Script_;
};

class FormRadioLocalCloudTest : public FormRadioFixture {
protected:
    void SetUp() override {
        FormRadioFixture::SetUp();
        LocalCloud = Starter;
    }
    QString NoticeLine() const { return Form->CloudNotice()->Line(); }

    std::shared_ptr<ScriptedStarter> Starter = std::make_shared<ScriptedStarter>(*Script);
};

TEST_F(FormRadioLocalCloudTest, TheStatusLineSaysSoWhileTheCloudStartsThenTheCatalogueComes) {
    Starter->Released = false;
    auto &form = Create();
    RunAndWaitForStartUp([&] {
        form.show();
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return NoticeLine().startsWith("Starting the local cloud"); }, 5000))
            << NoticeLine().toStdString();
        EXPECT_TRUE(NoticeLine().contains(QString::fromUtf8("Iniciando a nuvem local")));
        EXPECT_EQ(form.cdsRadios.RowCount(), 0);
        Starter->Released = true;
    });
    EXPECT_EQ(Starter->CloudCallsBeforeStart, 0) << "reached the cloud before starting it";
    EXPECT_EQ(form.cdsRadios.RowCount(), 3);
    EXPECT_TRUE(NoticeLine().isEmpty()) << NoticeLine().toStdString();
    EXPECT_TRUE(Dialogs.Entries.empty());
}

TEST_F(FormRadioLocalCloudTest, ACloudThatCannotStartIsUnreachableForTheReasonGiven) {
    Starter->Failure =
        "tunewell-cloud ended with status 1: no station list at /usr/share/tunewell/lista_radios.txt";
    auto &form = Start();
    const auto errors = Dialogs.Texts(Kind::Error);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].contains("The cloud could not be reached at " +
                                   QString::fromStdString(WindowCloud::DatabaseHost()) + ": " +
                                   QString::fromStdString(Starter->Failure)))
        << errors[0].toStdString();
    EXPECT_TRUE(NoticeLine().startsWith("Cloud unreachable")) << NoticeLine().toStdString();
    EXPECT_TRUE(Script->Calls.empty()) << "signed in to a cloud that was not started";
    EXPECT_EQ(form.cdsRadios.RowCount(), 0);
}

TEST_F(FormRadioLocalCloudTest, ACloudThatAnswersIsNotStarted) {
    Starter->Needed = false;
    auto &form = Start();
    EXPECT_EQ(Starter->Starts, 0);
    EXPECT_EQ(form.cdsRadios.RowCount(), 3);
}

} // namespace
} // namespace Tunewell::Testing
