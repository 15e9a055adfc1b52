// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings file *.tcset: the model code, then the image XORed with a fixed table.

#include <QByteArray>
#include <QString>
#include <array>

namespace mk {

class TMK;

constexpr int kScrambleSize = 4096;
// No device holds more than 32 KiB; anything past 1 MiB is not a settings file.
constexpr qint64 kMaxSettingsFileSize = 1024 * 1024;

const std::array<quint8, kScrambleSize> &scrambleTable();

struct SettingsFileContent
{
    quint16 modelCode = 1;
    QByteArray image;
};

QByteArray encodeSettingsFile(quint16 modelCode, const QByteArray &image);
// Throws Error on a file shorter than 2 bytes.
SettingsFileContent decodeSettingsFile(const QByteArray &file);

// Writes atomically; the model is not changed.
void saveSettingsFile(const TMK &model, const QString &path);
// Reads and checks the whole file first; only then replaces model code and image and decodes
// all sections. On any error the model keeps what it held.
void loadSettingsFile(TMK &model, const QString &path);

// Why an image's header cannot be that of a settings image: a section count, a section address
// or length no device memory can hold, a settings version no device has. Empty when it can be
// one (sections past the end of a file cut short are possible: the file may be looked at).
QString impossibleHeaderReason(const QByteArray &image);
// "Файл a.tcset не является файлом настроек МК: <why>" for an image no device can have; empty
// when it can be one.
QString notSettingsFileText(const QString &path, const QByteArray &image);
// As loadSettingsFile, refusing a file whose header cannot be a settings image before the model
// changes: what the program opens for the user to edit.
void openSettingsFile(TMK &model, const QString &path);

} // namespace mk
