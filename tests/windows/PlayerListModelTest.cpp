// The players as the main window's two lists hold them: order, pairing, selection, Latin-1.
#include <string>
#include <vector>

#include <QComboBox>

#include <gtest/gtest.h>

#include "windows/PasswordList.h"
#include "windows/PlayerCombo.h"
#include "windows/PlayerListModel.h"
#include "windows/QtText.h"
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

// The main window's two lists over one model.
class PlayerListModelTest : public ::testing::Test {
protected:
    PlayerListModelTest() { m_users.setModel(&m_model); }
    std::vector<std::string> Passwords() {
        std::vector<std::string> entries;
        for (int i = 0; i < m_model.rowCount(); ++i) {
            m_passwords.setCurrentIndex(i);
            entries.push_back(m_passwords.Text());
        }
        return entries;
    }
    PlayerListModel m_model;
    PlayerCombo m_users{nullptr};
    PasswordList m_passwords{m_model, nullptr};
};

TEST_F(PlayerListModelTest, InsertsPairsInOrderAtTheIndexAndNeverSorts) {
    m_model.append({{"zed", "1"}, {"amy", "2"}});
    EXPECT_EQ(m_model.insert(1, {"mid", "3"}), 1u);
    EXPECT_EQ(m_model.insert(7, {"end", "4"}), 3u) << "past the end goes to the end";
    EXPECT_EQ(m_model.insert(0, {"amy", "5"}), 0u);
    EXPECT_EQ(Items(m_users), (std::vector<std::string>{"amy", "zed", "mid", "amy", "end"}));
    EXPECT_EQ(Passwords(), (std::vector<std::string>{"5", "1", "3", "2", "4"}));
}

TEST_F(PlayerListModelTest, InsertingSelectsNothingAndKeepsWhatWasTyped) {
    m_model.insert(0, {"first", "1"});
    EXPECT_EQ(m_users.currentIndex(), -1);
    EXPECT_EQ(m_passwords.currentIndex(), -1);
    EXPECT_EQ(Text(m_users), "");
    m_users.setEditText("half");
    m_model.append({{"a", "2"}, {"b", "3"}});
    EXPECT_EQ(m_users.currentIndex(), -1);
    EXPECT_EQ(Text(m_users), "half");
}

TEST_F(PlayerListModelTest, ASelectionFollowsItsEntryWhenOthersAreInsertedBefore) {
    m_model.append({{"a", "1"}, {"b", "2"}, {"c", "3"}});
    m_users.setCurrentIndex(1);
    m_passwords.setCurrentIndex(1);
    m_model.insert(0, {"new", "0"});
    EXPECT_EQ(m_users.currentIndex(), 2);
    EXPECT_EQ(Text(m_users), "b");
    EXPECT_EQ(m_passwords.currentIndex(), 2);
    EXPECT_EQ(m_passwords.Text(), "2");
}

TEST_F(PlayerListModelTest, EveryLatin1ByteComesBackAsItWent) {
    std::string all;
    for (int byte = 1; byte < 256; ++byte) {
        all.push_back(static_cast<char>(byte));
    }
    m_model.insert(0, {all, all});
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
