#pragma once

#include "bankfile.h"

#include <QTemporaryDir>

#include <memory>

namespace vq::editor {

// The presenter's program next to the editor, else the one on the search path; empty when
// there is none.
QString presenterProgram();

// Makes a temporary installation from the files of the presenter's own (its program, settings,
// pictures and sounds) with the rows as its bank, and starts the presenter there in a window
// of its own. The user's installation is only read. The folder lives as long as the returned
// object. Throws vq::Exception in Chinese.
std::unique_ptr<QTemporaryDir> startPreview(const QList<Row>& rows,
                                            const QString& presenter = presenterProgram());

// The environment variable that tells the presenter to show in a window, not full screen.
inline constexpr char kPreviewWindowVariable[] = "VELQUO_PREVIEW_WINDOW";

} // namespace vq::editor
