#pragma once

#include "app/picturereader.h"
#include "app/tgraphiccontrol.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

// A picture control. Stretch fills the control, aspect ratio not kept; Proportional scales
// the picture up or down to fit with its aspect ratio kept, drawn from the top-left corner.
// The scaled picture is made once per size, when the picture or the size changes; an enlarged
// one, or a larger one on a large control, is first drawn stretched the quick way straight from
// itself, then from a smooth copy made once that frame is out. A larger picture is then let go
// for its smooth copy, which is all that is shown.
class TImage : public TGraphicControl {
    Q_OBJECT
public:
    enum class Fit { Stretch, Proportional };
    explicit TImage(QWidget* parent = nullptr, Fit fit = Fit::Stretch);

    const QImage& picture() const;
    void setPicture(const QImage& picture);
    // A picture that `decode` makes when it is first needed (drawn, or asked for) rather than
    // now; a picture set before then takes its place, undecoded.
    void setPicture(std::function<QImage()> decode);
    bool hasPicture() const { return !picture().isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSize drawnSize() const;
    const QImage* prepare();
    QImage scaledPicture(QSize target, Qt::TransformationMode mode) const;
    void refine();
    void decodeNow();
    void coverage();

    Fit m_fit;
    std::function<QImage()> m_decode;
    QImage m_picture;
    QImage m_scaled;
    // The picture is drawn stretched the quick way until a smooth copy replaces it.
    bool m_rough = false;
    bool m_refinePending = false;
};

namespace vq {

// Reads a picture file, decoded by the kind its extension names (JPEG, PNG, BMP). Fails with
// "Cannot open file "<path>". <reason>" when the file cannot be opened, with "<name>: <the
// decoder's message>" when it cannot be decoded. A valid `shown` is the size it is drawn at: a
// larger picture is decoded at that size (see readPicture). A damaged picture that could be
// decoded in part is returned as far as it could, and `damage`, where given, is set to
// "<name>: <the decoder's message>". `scaling` as readPicture's.
QImage loadPicture(const QString& path, QSize shown = QSize(), QString* damage = nullptr,
                   FinalScaling scaling = FinalScaling::Now);

} // namespace vq
