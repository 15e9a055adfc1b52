// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Layouts of the pages whose every control is a simple field (or the protocol controls), built in
// code from the field table. Each function fills an empty tab sheet.

class QWidget;

namespace mk {

void buildCorrectionsPage(QWidget *page);    // TabSheet2 "Поправки"
void buildSourcesPage(QWidget *page);        // tsCorr "Источники", with the protocol controls
void buildLimitsPage(QWidget *page);         // TabSheet1 "Границы"
void buildMiscDisplayPage(QWidget *page);    // TabSheet3 "Разное"
void buildVoicePage(QWidget *page);          // tsVoice "Озвуч.сообщения"
void buildAveragesPage(QWidget *page);       // tsAver "Средние"
void buildParkingPage(QWidget *page);        // tsPark "Парковка"
void buildServicePage(QWidget *page);        // tsTO "ТО"
void buildUniversalInputPage(QWidget *page); // tsUniMeas "Унив.вход"
void buildServiceInfoPage(QWidget *page);    // tsServiceInfo "Служ.информ."

} // namespace mk
