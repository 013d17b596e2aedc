#include "dialogs/DataExchange.h"

#include "dialogs/MessageBox.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QLineEdit>
#include <QScopedValueRollback>

#include <algorithm>
#include <climits>
#include <optional>

namespace pelto {

namespace {

const char* const kNotAnUnsigned =
    QT_TRANSLATE_NOOP("pelto::CDataExchange", "正の整数を入力してください。");
const char* const kOutOfRange =
    QT_TRANSLATE_NOOP("pelto::CDataExchange", "%1 から %2 までの整数を入力してください。");

QString Tr(const char* text) {
    return QCoreApplication::translate("pelto::CDataExchange", text);
}

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// Decimal digits with blanks and tabs around them. Numbers too large for 32 bits
// saturate, so that they meet the range check rather than wrap into range.
std::optional<unsigned> ParseUnsigned(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    if (begin == end) return std::nullopt;
    unsigned long long value = 0;
    for (qsizetype i = begin; i < end; ++i) {
        const QChar c = text[i];
        if (c < u'0' || c > u'9') return std::nullopt;
        value = std::min<unsigned long long>(value * 10 + (c.unicode() - u'0'), UINT_MAX);
    }
    return static_cast<unsigned>(value);
}

// A checked button of an exclusive group refuses to be unchecked unless the
// group lets go for a moment.
void Uncheck(QAbstractButton* button) {
    QButtonGroup* group = button->group();
    const bool groupExclusive = group && group->exclusive();
    const bool autoExclusive = button->autoExclusive();
    if (group) group->setExclusive(false);
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(autoExclusive);
    if (group) group->setExclusive(groupExclusive);
}

} // namespace

CDataExchange::CDataExchange(QWidget* dialog) : m_pDialog(dialog) {}

void CDataExchange::AddUnsigned(QLineEdit* box, unsigned* field, unsigned min, unsigned max) {
    m_entries.emplace_back(UnsignedEntry{box, field, min, max});
}

void CDataExchange::AddRadioGroup(QList<QAbstractButton*> buttons, int* field) {
    m_entries.emplace_back(RadioEntry{std::move(buttons), field});
}

void CDataExchange::AddCheckBox(QAbstractButton* box, bool* field) {
    m_entries.emplace_back(CheckEntry{box, field});
}

bool CDataExchange::ReadAll() {
    const QScopedValueRollback lockOut(m_bExchanging, true);
    for (const auto& entry : m_entries) {
        if (!std::visit([this](const auto& e) { return Read(e); }, entry)) return false;
    }
    return true;
}

bool CDataExchange::ReadQuietly() {
    const QScopedValueRollback quiet(m_bQuiet, true);
    return ReadAll();
}

void CDataExchange::ReadValid(const QLineEdit* only) {
    const QScopedValueRollback lockOut(m_bExchanging, true);
    for (const auto& entry : m_entries) {
        if (const auto* radio = std::get_if<RadioEntry>(&entry)) {
            if (!only) Read(*radio);
            continue;
        }
        if (const auto* check = std::get_if<CheckEntry>(&entry)) {
            if (!only) Read(*check);
            continue;
        }
        const auto& box = std::get<UnsignedEntry>(entry);
        if (only && box.box != only) continue;
        const std::optional<unsigned> value = ParseUnsigned(box.box->text());
        if (value && *value >= box.min && *value <= box.max) *box.field = *value;
    }
}

void CDataExchange::WriteAll() {
    const QScopedValueRollback lockOut(m_bExchanging, true);
    for (const auto& entry : m_entries)
        std::visit([](const auto& e) { Write(e); }, entry);
}

bool CDataExchange::Read(const UnsignedEntry& entry) {
    const std::optional<unsigned> value = ParseUnsigned(entry.box->text());
    if (!value) return Fail(entry.box, Tr(kNotAnUnsigned));
    *entry.field = *value;
    if (*value < entry.min || *value > entry.max)
        return Fail(entry.box, Tr(kOutOfRange).arg(entry.min).arg(entry.max));
    return true;
}

bool CDataExchange::Read(const RadioEntry& entry) {
    const auto checked = std::find_if(entry.buttons.begin(), entry.buttons.end(),
                                      [](const QAbstractButton* b) { return b->isChecked(); });
    *entry.field =
        checked == entry.buttons.end() ? -1 : static_cast<int>(checked - entry.buttons.begin());
    return true;
}

bool CDataExchange::Read(const CheckEntry& entry) {
    *entry.field = entry.box->isChecked();
    return true;
}

void CDataExchange::Write(const UnsignedEntry& entry) {
    entry.box->setText(QString::number(*entry.field));
}

void CDataExchange::Write(const RadioEntry& entry) {
    const int index = *entry.field;
    if (index >= 0 && index < entry.buttons.size()) {
        entry.buttons[index]->setChecked(true);
        return;
    }
    for (QAbstractButton* button : entry.buttons)
        Uncheck(button);
}

void CDataExchange::Write(const CheckEntry& entry) {
    entry.box->setChecked(*entry.field);
}

bool CDataExchange::Fail(QLineEdit* box, const QString& message) {
    if (m_bQuiet) return false;
    AfxMessageBox(message, m_pDialog);
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
    return false;
}

} // namespace pelto
