#pragma once

#include "bankfile.h"

#include <QTemporaryDir>

#include <memory>
#include <optional>

namespace vq::editor {

// A presenter and the folder of its installation's files (settings, pictures, sounds).
struct PresenterInstallation {
    QString program;
    QString folder;
};

// The installation a preview copies: the edited bank's own folder when the presenter is
// there (an operator's installation), else the folder the menu entry makes for the user,
// else the installed presenter with the installed demo, else a presenter built beside the
// editor. nullopt when there is none.
std::optional<PresenterInstallation> findInstallation(const QString& bankPath);

// Makes a temporary installation of the program and the installation's files with the rows
// as its bank, and starts the presenter there in a window of its own. The pictures and clips
// the rows name are copied from `media` (the edited bank's media folder; none without one).
// The installation is only read. The folder lives as long as the returned object. Throws
// vq::Exception in Chinese.
std::unique_ptr<QTemporaryDir>
startPreview(const QList<Row>& rows, const PresenterInstallation& from, const QString& media = {});

} // namespace vq::editor
