#include "presenter_fixture.h"

#include <QLabel>

#include "data/jetwriter.h"

namespace vq::test {

QStringList Presenter::settingsWith(const QStringList& changes) {
    QStringList out = TempInstall::defaultSettings();
    for (const QString& change : changes) {
        const QString key = change.section(u'=', 0, 0);
        out.erase(std::remove_if(out.begin(), out.end(),
                                 [&](const QString& kv) { return kv.section(u'=', 0, 0) == key; }),
                  out.end());
        if (change.contains(u'='))
            out << change;
    }
    return out;
}

void Presenter::installFiles(const QStringList& settings) {
    inst.writeSettings(settings);
    writePictures();
    QList<QPair<QString, QString>> rows;
    for (int i = 1; i <= 5; ++i)
        rows.append({QStringLiteral("question %1").arg(i), QStringLiteral("answer %1").arg(i)});
    writeBank(rows);
}

void Presenter::writePictures(const QString& nextFolder) {
    QImage bg(64, 36, QImage::Format_RGB32);
    bg.fill(QColor(20, 40, 120));
    bg.save(inst.file("bg.jpg"), "JPEG");
    QImage next(98, 60, QImage::Format_ARGB32);
    next.fill(Qt::transparent);
    for (int y = 10; y < 50; ++y)
        for (int x = 20; x < 78; ++x)
            next.setPixelColor(x, y, QColor(255, 200, 0));
    next.save((nextFolder.isEmpty() ? inst.folder() : nextFolder) + "next.png", "PNG");
}

void Presenter::writeBank(const QList<QPair<QString, QString>>& rows) {
    QList<jet::Question> questions;
    for (const auto& [question, answer] : rows)
        questions.append({questions.size() + 1, question, answer});
    jet::writeDatabase(inst.file("db.DLL"), {jet::questionTable(questions)}, {jet::kBankPassword});
}

void Presenter::create() {
    form = std::make_unique<TForm1>();
    module = std::make_unique<TDataModule2>();
    form3 = std::make_unique<TForm3>(form.get());
    form5 = std::make_unique<TForm5>();
    form->DataModule2 = module.get();
    form->Form3 = form3.get();
    form->Form5 = form5.get();
}

void Presenter::start() {
    create();
    // The data module's own reports at creation (for instance no bank) are not set-up's.
    msgs.clear();
    form->show();
}

int Presenter::counter() const {
    return form->Label3->text().toInt();
}

} // namespace vq::test
