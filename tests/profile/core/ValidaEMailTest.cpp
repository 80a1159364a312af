#include "profile/core/ValidaEMail.h"

#include <gtest/gtest.h>

using Tunewell::ValidaEMail;

TEST(ValidaEMail, Accepts) {
    for (const char *text : {"", "a@b.c", "ab.cd@efgh", "a_b@c.d", "jos\u00e9@x.br", "x.com@comx.br",
                             "a-b@c.d", "a\\b@c.d", "a\"b@c.d", "ana@gmail.com", "a@bcom.d"}) {
        EXPECT_TRUE(ValidaEMail(QString::fromUtf8(text))) << text;
    }
}

TEST(ValidaEMail, Rejects) {
    for (const char *text : {"abc.d",    "a@bc",    "@a.b",     "a.b@",   ".a@b.c",   "a@b.c.",   "a b@c.d",
                             "a.@b.c",   "a@.b.c",  "a@com.br", "a-@b.c", "a@-b.c",   "a_@b.c",   "a@_b.c",
                             "a..b@c.d", "a@b@c.d", "_a@b.c",   "-a@b.c", "a@b.com.", "ab@comx.d"}) {
        EXPECT_FALSE(ValidaEMail(QString::fromUtf8(text))) << text;
    }
}

TEST(ValidaEMail, RejectsEverySpecialCharacter) {
    const QString specials = QString::fromUtf8("!#$%¨&*()+=§¬¢¹²³£´`çÇ,;:<>~^?/|[]{}ºª°");
    ASSERT_EQ(specials.size(), 39);
    for (const QChar special : specials) {
        EXPECT_FALSE(ValidaEMail(QString("ab") + special + "c@d.e")) << QString(special).toStdString();
    }
}
