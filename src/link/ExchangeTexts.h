// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts of the device exchange: progress captions and its own error messages.

#include <QString>

namespace mk {

inline const QString kConnectingText = QStringLiteral("Не могу подключиться к МК...");
inline const QString kReadingText = QStringLiteral("Чтение настроек...");
inline const QString kConfirmingText = QStringLiteral("Повторное чтение для проверки...");
inline const QString kWritingText = QStringLiteral("Запись настроек...");
inline const QString kWrittenText = QStringLiteral("Настройки записаны в МК");
inline const QString kVerifyingText = QStringLiteral("Проверка записи...");
inline const QString kUnsteadyReadText =
    QStringLiteral("МК отвечает ненадёжно: ответы на запросы чтения приходят не по порядку или с ошибками, "
                   "и прочитать его память без сомнений не удалось. Проверьте соединение и повторите.");
inline const QString kModelMismatchText = QStringLiteral("Версия настроек не совпадает с версией устройства!");
inline const QString kVersionMismatchText = QStringLiteral("Версия настроек не совпадает с версией прошивки!");

} // namespace mk
