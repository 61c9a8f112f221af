// SPDX-License-Identifier: GPL-3.0-or-later
// The fonts the stored forms name: the design platform's Japanese fonts, mapped onto
// installed families of the same kind, found by any of the names a font gives itself.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Maps the form's Windows font names onto installed Japanese fonts.
void InstallFontSubstitutions();
// The installed family a stored font name maps onto, or the name itself where none does
// (or before InstallFontSubstitutions).
QString InstalledFontFamily(const QString& name);

// Makes the forms' Japanese text font, as installed, the application's own font: for
// what lies outside a form (menus that drop down, message boxes, tooltips) and for what
// a control measures as it is made, before it takes its form's font. Nothing changes
// where no substitute is installed.
void UseFormFontForTheApplication();

// The family names an OpenType or TrueType naming table ("name") gives, in every
// language it has them in (the English "IPAPMincho" and the Japanese "IPA P明朝", say),
// each once, in the table's order. A table that is cut short or malformed gives the
// names that lie wholly inside it.
QStringList FamilyNamesOfNameTable(const QByteArray& table);

// Whether the font the font system answers `family` with is of that family under any
// of its names, whichever name the system lists it under (on a Japanese desktop the
// Japanese one).
bool IsInstalledFamily(const QString& family);
