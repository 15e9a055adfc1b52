// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Profiles: a standard set of settings, by name and shown value, to apply to the next car.
//
// A profile is UTF-8 JSON: the model it came from and the settings shown for it, each with its
// page and caption for the reader; applying uses only the names and values:
//     {"profile": 1, "model_code": 32770, "model_name": "...", "settings_version": 3,
//      "settings": [{"name": "VelocityLimit", "page": "Границы", "caption": "...", "value": "90"}, ...]}

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace mk {

class TMK;

// The settings the model shows and its pages change (reference-only ones are left out), on the
// given pages (captions or tab names; empty: all pages).
// Throws Error for an unknown page, RangeError when the editor would not open on the model.
QByteArray exportProfile(const TMK &model, const QStringList &pages = {});

struct ProfileProblem
{
    QString name; // the setting; empty for a problem of the whole profile
    QString message;
    QString shownAs = {}; // "page → caption" as the editor shows the setting; empty for an unknown name
};

// Checks everything first; when any problem is found nothing changes and the problems are returned.
// Problems: a damaged profile, an unknown or repeated name, a value the page would refuse on this
// model, a setting the editor would not let be changed on this model (hidden with its page or on it,
// after the profile's own settings are applied; shown for reference only), a setting whose section
// the image lacks. A value equal to the one shown is left as it is.
// On success the edited sections are encoded into the image, as the editor's OK does.
std::vector<ProfileProblem> applyProfile(TMK &model, const QByteArray &json);

} // namespace mk
