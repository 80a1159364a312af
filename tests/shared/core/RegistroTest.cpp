#include "shared/core/Registro.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace Tunewell;

namespace {

// Points the user's configuration folder at a fresh temporary folder.
class RegistroTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fHome.isValid());
        Point(fHome.path() + "/config");
    }
    void TearDown() override { unsetenv("XDG_CONFIG_HOME"); }
    static void Point(const QString &Folder) { setenv("XDG_CONFIG_HOME", Folder.toUtf8().constData(), 1); }
    QString StoreFile() const { return fHome.path() + "/config/Firebase.ini"; }
    QTemporaryDir fHome;
};

} // namespace

TEST_F(RegistroTest, RoundTrip) {
    EXPECT_EQ(LerRegistro("Firebase", "", "Registrado"), "");
    GravarRegistro("Firebase", "", "Registrado", QString::fromUtf8("-NKey,\"Ação\"=x"));
    EXPECT_TRUE(QFile::exists(StoreFile()));
    EXPECT_EQ(LerRegistro("Firebase", "", "Registrado"), QString::fromUtf8("-NKey,\"Ação\"=x"));
    GravarRegistro("Firebase", "", "Registrado", "second");
    EXPECT_EQ(LerRegistro("Firebase", "", "Registrado"), "second");
    ExcluirRegistro("Firebase", "", "Registrado", "second");
    EXPECT_EQ(LerRegistro("Firebase", "", "Registrado"), "");
    ExcluirRegistro("Firebase", "", "Registrado", "");
    EXPECT_EQ(LerRegistro("Firebase", "", "Registrado"), "");
    // Writes go through a temporary renamed over the store; none may be left behind.
    EXPECT_EQ(QDir(fHome.path() + "/config").entryList(QDir::Files | QDir::Hidden),
              QStringList{"Firebase.ini"});
}

// The store holds the profile's ID: made for the user alone, and an older one that others could
// read is tightened at the next write.
TEST_F(RegistroTest, TheStoreIsTheUsersAlone) {
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                        QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    GravarRegistro("Firebase", "", "Registrado", "-NKey");
    EXPECT_EQ(QFile::permissions(StoreFile()) & (ownerOnly | others), ownerOnly);
    ASSERT_TRUE(
        QFile::setPermissions(StoreFile(), ownerOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    GravarRegistro("Firebase", "", "Registrado", "-NOther");
    EXPECT_EQ(QFile::permissions(StoreFile()) & (ownerOnly | others), ownerOnly);
    EXPECT_EQ(LerRegistro("Firebase", "", "Registrado"), "-NOther");
}

TEST_F(RegistroTest, SectionsAndStoresAreSeparate) {
    GravarRegistro("Firebase", "Sub", "Registrado", "in-section");
    GravarRegistro("Other", "", "Registrado", "other-store");
    EXPECT_EQ(LerRegistro("Firebase", "", "Registrado"), "");
    EXPECT_EQ(LerRegistro("Firebase", "Sub", "Registrado"), "in-section");
    EXPECT_EQ(LerRegistro("Other", "", "Registrado"), "other-store");
    EXPECT_EQ(LerRegistro("Missing", "Nope", "Registrado"), "");
}

TEST_F(RegistroTest, AValueThatIsNotTextIsAnError) {
    QDir().mkpath(fHome.path() + "/config");
    QFile file(StoreFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[General]\nRegistrado=@ByteArray(abc)\nLista=a, b\n");
    file.close();
    EXPECT_THROW(LerRegistro("Firebase", "", "Registrado"), ERegistroError);
    EXPECT_THROW(LerRegistro("Firebase", "", "Lista"), ERegistroError);
}

TEST_F(RegistroTest, AWriteThatCannotReachTheDiskIsAnError) {
    QFile blocker(fHome.path() + "/blocker");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Point(fHome.path() + "/blocker/config");
    EXPECT_THROW(GravarRegistro("Firebase", "", "Registrado", "x"), ERegistroError);
}
