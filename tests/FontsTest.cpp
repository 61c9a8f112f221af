// SPDX-License-Identifier: GPL-3.0-or-later
// Font families found by any of their names: the names a font's naming table gives, and
// the stored Windows names mapped onto installed families on a desktop of any language.
#include "toolkit/Fonts.h"

#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>
#include <QRawFont>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// A naming table as fonts carry it: a header, the records, then the strings.
struct TNameRecord {
    std::uint16_t platform, encoding, language, nameId;
    QByteArray text; // as stored: UTF-16BE for platforms 0 and 3, bytes for platform 1
};

void PutU16(QByteArray& out, std::uint16_t v)
{
    out.append(static_cast<char>(v >> 8));
    out.append(static_cast<char>(v & 0xff));
}

QByteArray Utf16BE(const QString& s)
{
    QByteArray out;
    for (QChar c : s)
        PutU16(out, c.unicode());
    return out;
}

QByteArray NameTable(const std::vector<TNameRecord>& records)
{
    QByteArray head, strings;
    PutU16(head, 0);
    PutU16(head, static_cast<std::uint16_t>(records.size()));
    PutU16(head, static_cast<std::uint16_t>(6 + 12 * records.size()));
    for (const TNameRecord& r : records) {
        PutU16(head, r.platform);
        PutU16(head, r.encoding);
        PutU16(head, r.language);
        PutU16(head, r.nameId);
        PutU16(head, static_cast<std::uint16_t>(r.text.size()));
        PutU16(head, static_cast<std::uint16_t>(strings.size()));
        strings += r.text;
    }
    return head + strings;
}

const QString kJapanese = QStringLiteral("IPA P明朝");

struct TNameCase {
    const char* name;
    QByteArray table;
    QStringList expected;
};

std::vector<TNameCase> NameCases()
{
    const QByteArray english = Utf16BE(QStringLiteral("IPAPMincho"));
    const QByteArray japanese = Utf16BE(kJapanese);
    const QByteArray full = NameTable({
        { 3, 1, 0x0409, 0, Utf16BE("Copyright") }, // not a family name
        { 3, 1, 0x0409, 1, english }, { 3, 1, 0x0411, 1, japanese },
        { 3, 1, 0x0409, 2, Utf16BE("Regular") }, // the style
        { 1, 0, 0, 1, QByteArray("IPAPMincho") }, // the same name again, Macintosh Roman
        { 1, 1, 11, 1, QByteArray("\x82\x68\x82\x6f", 4) }, // Macintosh Japanese: skipped
        { 0, 3, 0, 16, Utf16BE("IPA Mincho Family") }, // typographic family, Unicode
    });
    std::vector<TNameCase> cases {
        { "every family name once, in order", full,
            { "IPAPMincho", kJapanese, "IPA Mincho Family" } },
        { "empty table", QByteArray(), {} },
        { "header only", NameTable({}), {} },
        { "no family among the names", NameTable({ { 3, 1, 0x0409, 4, english } }), {} },
    };
    // Cut inside the third record: nothing past the cut is read, so the whole records
    // before it, whose strings lie past the cut too, give no name either.
    cases.push_back({ "cut inside the records", full.left(6 + 12 * 2 + 5), {} });
    // Cut inside the strings: only the names wholly inside are given.
    const QByteArray two
        = NameTable({ { 3, 1, 0x0409, 1, english }, { 3, 1, 0x0411, 1, japanese } });
    cases.push_back({ "cut inside the last string", two.left(two.size() - 2), { "IPAPMincho" } });
    // A record that points past the end, and a string count beyond the records present.
    QByteArray wild = NameTable({ { 3, 1, 0x0409, 1, english } });
    wild[6 + 10] = '\x7f'; // offset 0x7f00: outside
    cases.push_back({ "offset outside the table", wild, {} });
    QByteArray many = NameTable({ { 3, 1, 0x0409, 1, english } });
    many[2] = '\xff'; // 65,280 records claimed, one present
    cases.push_back({ "more records claimed than present", many, { "IPAPMincho" } });
    return cases;
}

class FamilyNames : public testing::TestWithParam<TNameCase> { };

TEST_P(FamilyNames, AreReadFromTheNamingTable)
{
    EXPECT_EQ(FamilyNamesOfNameTable(GetParam().table), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Tables, FamilyNames, testing::ValuesIn(NameCases()), [](const auto& row) {
    std::string name = row.param.name;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
});

// The installed IPA font's own table names it in English and in Japanese.
TEST(FamilyNames, OfAnInstalledFontIncludeEveryLanguage)
{
    QFont font(QStringLiteral("IPAPMincho"));
    font.setStyleStrategy(QFont::NoFontMerging);
    const QStringList names = FamilyNamesOfNameTable(QRawFont::fromFont(font).fontTable("name"));
    EXPECT_TRUE(names.contains(QStringLiteral("IPAPMincho"))) << names.join(", ").toStdString();
    EXPECT_TRUE(names.contains(kJapanese)) << names.join(", ").toStdString();
}

struct TFamilyCase {
    const char* family;
    bool installed;
};

class InstalledFamily : public testing::TestWithParam<TFamilyCase> { };

// Found by either name whatever the desktop's language; a family that is not installed
// is not taken for the font the system answers with in its place.
TEST_P(InstalledFamily, IsFoundByAnyOfItsNames)
{
    EXPECT_EQ(IsInstalledFamily(QString::fromUtf8(GetParam().family)), GetParam().installed);
}

INSTANTIATE_TEST_SUITE_P(Families, InstalledFamily,
    testing::Values(TFamilyCase { "IPAPMincho", true }, TFamilyCase { "ipapgothic", true },
        TFamilyCase { "IPA P明朝", true }, TFamilyCase { "IPAゴシック", true },
        TFamilyCase { "ＭＳ Ｐ明朝", false }, TFamilyCase { "No Such Family", false }),
    [](const auto& row) { return "case" + std::to_string(row.index); });

// The stored names map onto the proportional IPA fonts, named as the candidates are,
// so that the same font files draw the window on every desktop.
TEST(FontSubstitutions, MapTheStoredNamesOntoTheIpaFonts)
{
    InstallFontSubstitutions();
    EXPECT_EQ(InstalledFontFamily(QStringLiteral("ＭＳ Ｐ明朝")), QStringLiteral("IPAPMincho"));
    EXPECT_EQ(InstalledFontFamily(QStringLiteral("ＭＳ Ｐゴシック")), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(InstalledFontFamily(QStringLiteral("Unknown")), QStringLiteral("Unknown"));
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("ＭＳ Ｐ明朝"))).family(),
        QFontInfo(QFont(QStringLiteral("IPAPMincho"))).family());
}

} // namespace

int main(int argc, char** argv)
{
    // Fonts need the application object, not a display (listing the tests has neither).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
