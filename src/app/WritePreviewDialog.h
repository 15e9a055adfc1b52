#pragma once
// What a write would change, shown before anything reaches the device: "Записать" or "Отмена".

#include <QDialog>

namespace mk {

struct SettingsDiff;

class WritePreviewDialog : public QDialog
{
    Q_OBJECT
public:
    explicit WritePreviewDialog(const SettingsDiff &diff, QWidget *parent = nullptr);
};

} // namespace mk
