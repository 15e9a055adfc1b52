#pragma once
// Texts the link, port discovery and the access check show to the user, word for word.

#include <QString>

namespace mk {

inline const QString kNoLinkText = QStringLiteral("RS232. Нет связи. Проверьте правильность соединения PC и устройства.");
inline const QString kInterByteText = QStringLiteral("RS232. Ошибка задержки приема внутри блока.");
inline const QString kExchangeErrorText = QStringLiteral("RS232. Ошибка обмена.");
inline const QString kBusyText = QStringLiteral("Устройство занято. Возможно, оно находится в режиме местного управления.");
inline const QString kNoFreePortText = QStringLiteral("Нет свободного COM-порта!");
inline const QString kBaudRefusedText = QStringLiteral("RS232. Не могу установить нужную скорость обмена.");
inline const QString kDeviceNotSeenText = QStringLiteral("Не вижу МК.");
inline const QString kWrongPasswordText = QStringLiteral("Неверный пароль!");
inline const QString kPasswordPromptText = QStringLiteral("Данная команда будет выполняться только после ввода пароля!");
inline const QString kPasswordCaptionText = QStringLiteral("Контроль доступа");
inline const QString kPortDialogCaptionText = QStringLiteral("Выбор номера порта");
inline const QString kPortDialogLabelText = QStringLiteral("Выберите последовательный порт");
inline const QString kBaudDialogCaptionText = QStringLiteral("Выбор скорости обмена СОМ-порта");
inline const QString kBaudDialogLabelText = QStringLiteral("Скорость обмена, бод");
inline const QString kDeviceMarker = QStringLiteral("Trivolantics");

} // namespace mk
