// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/Fonts.h"

#include <QFont>
#include <QGuiApplication>
#include <QHash>
#include <QRawFont>

#include <cstdint>

namespace {

// The installed family chosen for each stored font name.
QHash<QString, QString>& InstalledFamilies()
{
    static QHash<QString, QString> families;
    return families;
}

std::uint16_t ReadU16(const QByteArray& data, qsizetype at)
{
    return static_cast<std::uint16_t>(
        (static_cast<unsigned char>(data[at]) << 8) | static_cast<unsigned char>(data[at + 1]));
}

} // namespace

QStringList FamilyNamesOfNameTable(const QByteArray& table)
{
    // The table: format, record count, offset of the strings; then per record the
    // platform, encoding, language, name ID, length and offset, all big-endian 16 bits.
    QStringList names;
    if (table.size() < 6)
        return names;
    const qsizetype count = ReadU16(table, 2);
    const qsizetype strings = ReadU16(table, 4);
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype record = 6 + 12 * i;
        if (record + 12 > table.size())
            break;
        const std::uint16_t platform = ReadU16(table, record);
        const std::uint16_t encoding = ReadU16(table, record + 2);
        const std::uint16_t nameId = ReadU16(table, record + 6);
        const qsizetype length = ReadU16(table, record + 8);
        const qsizetype start = strings + ReadU16(table, record + 10);
        // 1: the family; 16: the typographic family, where the family is split by style.
        if ((nameId != 1 && nameId != 16) || start + length > table.size())
            continue;
        QString name;
        if (platform == 0 || platform == 3) { // Unicode, Windows: UTF-16BE
            for (qsizetype at = start; at + 1 < start + length; at += 2)
                name.append(QChar(static_cast<char16_t>(ReadU16(table, at))));
        } else if (platform == 1 && encoding == 0) { // Macintosh, Roman: ASCII for names
            name = QString::fromLatin1(table.constData() + start, length);
        } else {
            continue;
        }
        if (!name.isEmpty() && !names.contains(name))
            names.append(name);
    }
    return names;
}

bool IsInstalledFamily(const QString& family)
{
    // At the forms' common text height, so that the font opened for the answer is the
    // one the forms draw with (each height of a font is opened on its own). The raw
    // font is the one the name itself gives, not one filling in for missing glyphs.
    QFont font(family);
    font.setPixelSize(12);
    const QRawFont answer = QRawFont::fromFont(font);
    if (!answer.isValid())
        return false;
    if (answer.familyName().compare(family, Qt::CaseInsensitive) == 0)
        return true;
    const QStringList names = FamilyNamesOfNameTable(answer.fontTable("name"));
    return names.contains(family, Qt::CaseInsensitive);
}

void InstallFontSubstitutions()
{
    // The form names the fonts a Japanese Windows desktop has. Prefer the metrically
    // alike IPA fonts, then any other installed Japanese font of the same kind.
    const QStringList gothic { "IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "VL PGothic",
        "TakaoPGothic", "Droid Sans Fallback" };
    const QStringList mincho { "IPAPMincho", "IPAMincho", "Noto Serif CJK JP", "TakaoPMincho",
        "IPAPGothic", "Noto Sans CJK JP" };
    // Each name gets the first installed candidate as its only substitute, so that
    // QFont::substitute() names the font that is actually used. Where none is
    // installed the name is left to the system's own fallback.
    // A font has a name per language, and the font system lists and reports each family
    // under the name in the desktop's language ("IPA P明朝" on a Japanese desktop,
    // "IPAPMincho" elsewhere); so each candidate is asked for, and taken when the font
    // that answers has the candidate's name among its own. The candidate's spelling is
    // kept: the font system finds the family by it on every desktop.
    const auto substitute = [](const QString& name, const QStringList& candidates) {
        for (const QString& family : candidates) {
            if (IsInstalledFamily(family)) {
                QFont::insertSubstitution(name, family);
                InstalledFamilies().insert(name, family);
                return;
            }
        }
    };
    substitute(QStringLiteral("ＭＳ Ｐゴシック"), gothic);
    substitute(QStringLiteral("ＭＳ Ｐ明朝"), mincho);
}

void UseFormFontForTheApplication()
{
    const QString name = QStringLiteral("ＭＳ Ｐゴシック");
    const QString installed = InstalledFontFamily(name);
    if (installed == name || !qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    QFont font = QGuiApplication::font();
    font.setFamily(installed);
    font.setPixelSize(12);
    QGuiApplication::setFont(font);
}

QString InstalledFontFamily(const QString& name) { return InstalledFamilies().value(name, name); }
