// The players as the main window's two lists hold them: order, pairing, selection, Latin-1.
#include <string>
#include <vector>

#include <QComboBox>

#include <gtest/gtest.h>

#include "RawFiles.h"
#include "TempFolders.h"

#include "windows/PasswordList.h"
#include "windows/PlayerCombo.h"
#include "windows/PlayerListModel.h"
#include "ui/QtText.h"
#include "windows/TypedText.h"

namespace korvale::test {
namespace {

std::vector<std::string> Items(const QComboBox& combo) {
    std::vector<std::string> items;
    for (int i = 0; i < combo.count(); ++i) {
        items.push_back(combo.itemText(i).toStdString());
    }
    return items;
}

std::string Text(const QComboBox& combo) {
    return qStringToLatin1(combo.currentText()).value_or("(not Latin-1)");
}

// The main window's two lists over one model of the identities.
class PlayerListModelTest : public TempFolders {
protected:
    PlayerListModelTest() { m_users.setModel(&m_model); }
    void Load(std::string_view file) {
        WriteBytes(ProgramPath("User.ini"), file);
        m_identities.LoadPlayers();
    }
    std::vector<std::string> Passwords() {
        std::vector<std::string> entries;
        for (int i = 0; i < m_model.rowCount(); ++i) {
            m_passwords.setCurrentIndex(i);
            entries.push_back(m_passwords.Text());
        }
        return entries;
    }
    Identities m_identities{Files()};
    PlayerListModel m_model{m_identities};
    PlayerCombo m_users{nullptr};
    PasswordList m_passwords{m_model, nullptr};
};

TEST_F(PlayerListModelTest, NewPairsGoLastSelectingNothingAndKeepingWhatWasTyped) {
    Load("zed,1\r\namy,2");
    m_users.setEditText("half");
    EXPECT_EQ(m_identities.AppendPlayer({"mid", "3"}), 2u);
    EXPECT_EQ(Items(m_users), (std::vector<std::string>{"zed", "amy", "mid"}));
    EXPECT_EQ(Passwords(), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(m_users.currentIndex(), -1);
    EXPECT_EQ(Text(m_users), "half");
}

TEST_F(PlayerListModelTest, ASelectionFollowsItsEntryWhenOthersMoveOrGo) {
    Load("a,1\r\nb,2\r\nc,3");
    m_users.setCurrentIndex(1);
    m_passwords.setCurrentIndex(1);
    EXPECT_EQ(m_identities.swapWithNext(0), std::nullopt);
    EXPECT_EQ(m_users.currentIndex(), 0);
    EXPECT_EQ(m_passwords.currentIndex(), 0);
    EXPECT_EQ(m_identities.swapWithNext(1), std::nullopt);
    EXPECT_EQ(m_identities.remove(1), std::nullopt);
    EXPECT_EQ(Text(m_users), "b");
    EXPECT_EQ(m_passwords.Text(), "2");
}

TEST_F(PlayerListModelTest, EveryLatin1ByteComesBackAsItWent) {
    std::string all;
    for (int byte = 1; byte < 256; ++byte) {
        all.push_back(static_cast<char>(byte));
    }
    m_identities.AppendPlayer({all, all});  // the list keeps what was typed
    m_users.setCurrentIndex(0);
    m_passwords.setCurrentIndex(0);
    EXPECT_EQ(Text(m_users), all);
    EXPECT_EQ(m_passwords.Text(), all);
    EXPECT_EQ(m_users.itemText(0), latin1ToQString(all));
}

TEST(QtTextTest, Latin1ConversionIsCheckedOnTheWayBack) {
    struct Row {
        const char* name;
        QString text;
        std::optional<std::string> bytes;
        QString firstBeyond;
    };
    const Row rows[] = {
        {"plain", QStringLiteral("abc"), "abc", {}},
        {"accents", QString::fromUtf8("Jérôme ÿ"), "J\xe9r\xf4me \xff", {}},
        {"euro", QString::fromUtf8("5€"), std::nullopt, QString::fromUtf8("€")},
        {"emoji", QString::fromUtf8("a\xF0\x9F\x98\x80"), std::nullopt,
         QString::fromUtf8("\xF0\x9F\x98\x80")},
        {"empty", QString(), "", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(qStringToLatin1(row.text), row.bytes);
        EXPECT_EQ(firstNonLatin1(row.text), row.firstBeyond);
        if (row.bytes) {
            EXPECT_EQ(latin1ToQString(*row.bytes), row.text);
        }
    }
}

TEST(QtTextTest, BlankMeansSpacesOnly) {
    EXPECT_TRUE(isBlank(QString()));
    EXPECT_TRUE(isBlank(QStringLiteral("   ")));
    EXPECT_FALSE(isBlank(QStringLiteral("\t")));
    EXPECT_FALSE(isBlank(QStringLiteral(" a ")));
}

}  // namespace
}  // namespace korvale::test
