// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The captions and choices of the special pages, written once: the pages show them, and the
// named settings, comparisons, search, profiles and mktool read the same texts.

#include <QString>
#include <QStringList>

namespace mk {

// --- Colour schemes
QString colourSchemeCaption();             // "Цветовая схема"
QStringList colourSchemeItems();           // the predefined schemes, then the user's
QString paletteColourCaption(int index);   // "Цвет #3"
QString colourRoleCaption(int role);       // the caption of a ColourRole
QString displayVariantCaption(int digits); // 4 or 9: "Тип х4"

// --- Hot menus (in list order)
QString hotMenuCaption(int list); // "Параметры", "Средние", ...

// --- Additional systems
QString blocksShowCaption();       // "Показывать", both choices
QStringList blocksShowItems();     // which systems the list shows
QStringList blocksShowListItems(); // how it shows them

// A caption as a sentence names it: spaces simplified, without the trailing colon of a label.
QString bareCaption(const QString &caption);

} // namespace mk
