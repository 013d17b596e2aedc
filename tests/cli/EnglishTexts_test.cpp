// pelto-cli's English is the windows' translation as its file spells it:
// escapes, entities, line breaks and contexts come through lconvert and
// po_to_cpp unchanged. The toolkit's XML reader, which shares nothing with
// that path, reads the files here.

#include "cli/EnglishTexts.h"

#include <QFile>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace pelto {

// Made the same way from tests/cli/translation-cases.ts, the awkward texts.
extern const std::span<const translation::TextTranslation> kTranslationCases;

namespace {

struct Message {
    std::string context;
    std::string source;
    std::string translation;
};

// The messages of contexts that lrelease keeps: translated, and still in the code.
std::vector<Message> TsMessages(const char* path, const std::set<std::string>& contexts) {
    QFile file(QString::fromUtf8(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
    QXmlStreamReader xml(&file);
    std::vector<Message> messages;
    Message message;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"name") {
            message.context = xml.readElementText().toStdString();
        } else if (xml.isStartElement() && xml.name() == u"source") {
            message.source = xml.readElementText().toStdString();
        } else if (xml.isStartElement() && xml.name() == u"translation") {
            const QString type = xml.attributes().value(QStringLiteral("type")).toString();
            message.translation = xml.readElementText().toStdString();
            if (type != u"vanished" && type != u"obsolete" && !message.translation.empty() &&
                contexts.count(message.context))
                messages.push_back(message);
        }
    }
    EXPECT_FALSE(xml.hasError()) << path << ": " << xml.errorString().toStdString();
    return messages;
}

TEST(EnglishTexts, TableHoldsEveryKeptMessageOfItsContextsAsTheFileSpellsIt) {
    const struct {
        const char* ts;
        std::span<const translation::TextTranslation> rows;
    } cases[] = {
        {PELTO_TRANSLATION, kEnglishTexts},
        {PELTO_TRANSLATION_CASES, kTranslationCases},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ts);
        const auto messages = TsMessages(c.ts, {"pelto::document", "pelto::image"});
        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(c.rows.size(), messages.size());
        for (const Message& m : messages)
            EXPECT_EQ(translation::LookUp(c.rows, m.context.c_str(), m.source.c_str()),
                      m.translation)
                << m.context << " " << m.source;
    }
}

} // namespace

} // namespace pelto
