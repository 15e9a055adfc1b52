// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/Profile.h"

#include "base/Error.h"
#include "image/TMK.h"
#include "settings/EditSession.h"
#include "settings/NamedSettings.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <map>
#include <optional>
#include <vector>

namespace mk {

namespace {

constexpr int kProfileFormat = 1;
// Settings refused because another one had not been stored yet (the ADC pair) are tried again.
constexpr int kStorePasses = 3;

const QString kKeyProfile = QStringLiteral("profile");
const QString kKeySettings = QStringLiteral("settings");
const QString kKeyName = QStringLiteral("name");
const QString kKeyValue = QStringLiteral("value");

QString damaged(const QString &why) { return QStringLiteral("Профиль повреждён: %1").arg(why); }

// The first key given twice in one object of well-formed JSON, which the parser would quietly
// reduce to its last value.
std::optional<QString> repeatedKey(const QByteArray &json)
{
    struct Level
    {
        bool object;
        bool expectKey;
        QSet<QString> keys;
    };
    std::vector<Level> open;
    for (qsizetype i = 0; i < json.size(); ++i) {
        const char c = json.at(i);
        if (c == '"') {
            qsizetype end = i + 1;
            while (end < json.size() && json.at(end) != '"')
                end += json.at(end) == '\\' ? 2 : 1;
            if (!open.empty() && open.back().object && open.back().expectKey) {
                // Decoded, so that "a" and "\u0061" are the same key.
                const QString key =
                    QJsonDocument::fromJson('[' + json.mid(i, end - i + 1) + ']').array().at(0).toString();
                if (open.back().keys.contains(key))
                    return key;
                open.back().keys.insert(key);
                open.back().expectKey = false;
            }
            i = end;
        } else if (c == '{' || c == '[') {
            open.push_back({c == '{', c == '{', {}});
        } else if ((c == '}' || c == ']') && !open.empty()) {
            open.pop_back();
        } else if (c == ',' && !open.empty() && open.back().object) {
            open.back().expectKey = true;
        }
    }
    return std::nullopt;
}

} // namespace

QByteArray exportProfile(const TMK &model, const QStringList &pages)
{
    const SettingsContext ctx(model);
    if (!pages.isEmpty())
        checkPageNames(pages); // an unknown page name is refused before anything else
    QJsonArray settings;
    for (const NamedSetting &s : namedSettings()) {
        // What the file does not hold, or the editor does not show, is nothing to carry over.
        if (!model.sectionHeld(s.section) || !settingShown(s, model, ctx) || s.referenceOnly)
            continue;
        if (!pages.isEmpty() && !pageSelected(s.page, pages))
            continue;
        settings.append(QJsonObject{{kKeyName, s.name},
                                    {QStringLiteral("page"), pageCaption(s.page)},
                                    {QStringLiteral("caption"), settingCaption(s, ctx)},
                                    {kKeyValue, settingText(s, model, ctx)}});
    }
    const QJsonObject root{{kKeyProfile, kProfileFormat},
                           {QStringLiteral("model_code"), int(model.modelCode())},
                           {QStringLiteral("model_name"), ctx.device().ModelName},
                           {QStringLiteral("settings_version"), qint64(model.settingsVersion())},
                           {kKeySettings, settings}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::vector<ProfileProblem> applyProfile(TMK &model, const QByteArray &json)
{
    std::vector<ProfileProblem> problems;
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError || !doc.isObject())
        return {{QString(), damaged(parseError.error != QJsonParseError::NoError
                                        ? QStringLiteral("это не JSON (ошибка в позиции %1)").arg(parseError.offset)
                                        : QStringLiteral("ожидается объект JSON"))}};
    if (const std::optional<QString> key = repeatedKey(json))
        return {{QString(), damaged(QStringLiteral("ключ \"%1\" указан дважды в одном объекте").arg(*key))}};
    const QJsonObject root = doc.object();
    if (root.value(kKeyProfile).toInt(-1) != kProfileFormat)
        return {{QString(),
                 damaged(QStringLiteral("неизвестный формат (\"%1\": %2)").arg(kKeyProfile).arg(kProfileFormat))}};
    if (!root.value(kKeySettings).isArray())
        return {{QString(), damaged(QStringLiteral("нет списка \"%1\"").arg(kKeySettings))}};

    // Wanted values in the order of the settings: the protocol before what it decides, the
    // colour-scheme choice before the colours.
    std::map<size_t, QString> wanted;
    const std::vector<NamedSetting> &all = namedSettings();
    for (const QJsonValue &v : root.value(kKeySettings).toArray()) {
        const QJsonObject o = v.toObject();
        const QString name = o.value(kKeyName).toString();
        if (name.isEmpty()) {
            problems.push_back({QString(), damaged(QStringLiteral("у настройки нет имени"))});
            continue;
        }
        const NamedSetting *s = findNamedSetting(name);
        if (!s) {
            problems.push_back({name, QStringLiteral("Нет такой настройки.")});
            continue;
        }
        // A value is text as exported; a number typed in by hand ("value": 130) is taken too.
        const QJsonValue value = o.value(kKeyValue);
        if (!value.isString() && !value.isDouble()) {
            problems.push_back({name, QStringLiteral("Значение должно быть текстом или числом.")});
            continue;
        }
        const QString text = value.isString() ? value.toString() : QString::number(value.toDouble(), 'g', 15);
        const size_t index = size_t(s - all.data());
        if (!wanted.emplace(index, text).second)
            problems.push_back({name, QStringLiteral("Настройка указана в профиле дважды.")});
    }

    // Everything is tried on a copy; the model changes only when all of it fits.
    TMK copy = model;
    std::optional<EditSession> session;
    try {
        session.emplace(copy);
    } catch (const Error &e) {
        problems.push_back({QString(), e.text()});
        return problems;
    }
    SettingsContext &ctx = session->context();

    std::map<size_t, QString> refused;
    std::vector<size_t> pending;
    for (const auto &[index, value] : wanted) {
        if (copy.sectionHeld(all[index].section))
            pending.push_back(index);
        else
            refused[index] = QStringLiteral("В настройках нет секции %1.").arg(all[index].section);
    }
    for (int pass = 0; pass < kStorePasses && !pending.empty(); ++pass) {
        std::vector<size_t> again;
        for (const size_t index : pending) {
            try {
                storeSettingText(all[index], copy, wanted[index], ctx);
                refused.erase(index);
            } catch (const Error &e) {
                refused[index] = e.text();
                again.push_back(index);
            }
        }
        if (again.size() == pending.size())
            break; // no progress: the rest stays refused
        pending = std::move(again);
    }
    // Shown or not is decided on the result: a profile may switch on what it then sets.
    for (const auto &[index, value] : wanted)
        if (const QString why = settingRefusal(all[index], copy, ctx); !why.isEmpty())
            refused[index] = why;
    for (const auto &[index, message] : refused)
        problems.push_back(
            {all[index].name, message,
             QStringLiteral("%1 → %2").arg(pageCaption(all[index].page), settingCaption(all[index], ctx))});

    if (!problems.empty())
        return problems;
    session->commit();
    model = copy;
    return {};
}

} // namespace mk
