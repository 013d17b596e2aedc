#include "DialogTestSupport.h"
#include "dialogs/DataExchange.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QWidget>

#include <climits>

namespace pelto {

namespace {

const QString kNotAnUnsigned = QStringLiteral("正の整数を入力してください。");

// Two boxes (0..100 and 0..359) and a two-button radio group, in that order.
struct Form {
    QWidget window;
    QLineEdit* first = new QLineEdit(&window);
    QLineEdit* second = new QLineEdit(&window);
    QRadioButton* left = new QRadioButton(&window);
    QRadioButton* right = new QRadioButton(&window);
    QButtonGroup group;
    unsigned firstValue = 7;
    unsigned secondValue = 8;
    int choice = 0;
    CDataExchange exchange{&window};

    Form() {
        group.addButton(left);
        group.addButton(right);
        exchange.AddUnsigned(first, &firstValue, 0, 100);
        exchange.AddUnsigned(second, &secondValue, 0, 359);
        exchange.AddRadioGroup({left, right}, &choice);
    }
};

struct ReadCase {
    const char* text;
    bool ok;
    unsigned stored; // the field after the read
    const char* message;
};

class ReadBox : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadBox, ParsesChecksAndReports) {
    const ReadCase& c = GetParam();
    Form form;
    MessageCatcher catcher;
    form.first->setText(QString::fromUtf8(c.text));
    form.second->setText(QStringLiteral("1"));
    EXPECT_EQ(form.exchange.ReadAll(), c.ok);
    EXPECT_EQ(form.firstValue, c.stored);
    EXPECT_EQ(catcher.messages.join(u'|'), QString::fromUtf8(c.message));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReadBox,
    ::testing::Values(ReadCase{"42", true, 42, ""}, ReadCase{" \t42\t ", true, 42, ""},
                      ReadCase{"0", true, 0, ""}, ReadCase{"100", true, 100, ""},
                      ReadCase{"007", true, 7, ""},
                      ReadCase{"", false, 7, "正の整数を入力してください。"},
                      ReadCase{"  ", false, 7, "正の整数を入力してください。"},
                      ReadCase{"-5", false, 7, "正の整数を入力してください。"},
                      ReadCase{"4 2", false, 7, "正の整数を入力してください。"},
                      ReadCase{"12a", false, 7, "正の整数を入力してください。"},
                      ReadCase{"\n12", false, 7, "正の整数を入力してください。"},
                      ReadCase{"１２", false, 7, "正の整数を入力してください。"},
                      ReadCase{"101", false, 101, "0 から 100 までの整数を入力してください。"},
                      ReadCase{"99999999999", false, UINT_MAX,
                               "0 から 100 までの整数を入力してください。"}));

TEST(DataExchange, RadioGroupsWriteAndReadTheCheckedIndexOrMinusOne) {
    Form form;
    form.exchange.WriteAll();
    EXPECT_EQ(form.first->text(), QStringLiteral("7"));
    EXPECT_EQ(form.second->text(), QStringLiteral("8"));
    EXPECT_TRUE(form.left->isChecked());

    form.choice = 1;
    form.exchange.WriteAll();
    EXPECT_TRUE(form.right->isChecked());
    EXPECT_FALSE(form.left->isChecked());

    form.choice = -1;
    form.exchange.WriteAll();
    EXPECT_FALSE(form.left->isChecked());
    EXPECT_FALSE(form.right->isChecked());
    form.choice = 0;
    EXPECT_TRUE(form.exchange.ReadAll());
    EXPECT_EQ(form.choice, -1);
    // The group stays exclusive once the user checks a button again.
    form.left->setChecked(true);
    form.right->setChecked(true);
    EXPECT_FALSE(form.left->isChecked());
}

TEST(DataExchange, NotificationsDuringAnExchangeSeeTheLockOut) {
    Form form;
    QList<bool> lockedOut;
    QObject::connect(form.first, &QLineEdit::textChanged,
                     [&] { lockedOut.append(form.exchange.IsExchanging()); });
    form.exchange.WriteAll();
    form.first->setText(QStringLiteral("3"));
    EXPECT_EQ(lockedOut, (QList<bool>{true, false}));
    EXPECT_FALSE(form.exchange.IsExchanging());
}

} // namespace

} // namespace pelto
