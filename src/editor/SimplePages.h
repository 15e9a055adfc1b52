// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Layouts of the pages whose every control is a simple field (or the protocol controls), built in
// code from the field table. Each function fills an empty tab sheet.

class QWidget;

namespace mk {

void buildCorrectionsPage(QWidget *page);    // PageId::Corrections
void buildSourcesPage(QWidget *page);        // PageId::Sources, with the protocol controls
void buildLimitsPage(QWidget *page);         // PageId::Limits
void buildMiscDisplayPage(QWidget *page);    // PageId::MiscDisplay
void buildVoicePage(QWidget *page);          // PageId::Voice
void buildAveragesPage(QWidget *page);       // PageId::Averages
void buildParkingPage(QWidget *page);        // PageId::Parking
void buildServicePage(QWidget *page);        // PageId::Service
void buildUniversalInputPage(QWidget *page); // PageId::UniversalInput

} // namespace mk
