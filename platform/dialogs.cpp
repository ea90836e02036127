#include "platform/dialogs.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>

namespace lanterna {

namespace {

QString ApplicationTitle() {
    return QGuiApplication::applicationDisplayName();
}

// A box that answers `timeOutAnswer` by itself after `limit`, unless the limit is zero.
int ShowBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
            QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton,
            std::chrono::milliseconds limit = {},
            QMessageBox::StandardButton timeOutAnswer = QMessageBox::No) {
    QMessageBox box(icon, caption, text, buttons, QApplication::activeWindow());
    box.setDefaultButton(defaultButton);
    if (limit.count() > 0)
        QTimer::singleShot(limit, &box, [&box, timeOutAnswer] { box.done(timeOutAnswer); });
    return box.exec();
}

std::unique_ptr<Dialogs>& Installed() {
    static std::unique_ptr<Dialogs> dialogs;
    return dialogs;
}

QString CaptionOf(TMsgDlgType type) {
    switch (type) {
    case mtConfirmation:
        return QStringLiteral("Confirm");
    case mtInformation:
        return QStringLiteral("Information");
    case mtError:
        return QStringLiteral("Error");
    case mtMessage:
        break;
    }
    return ApplicationTitle();
}

} // namespace

bool QtDialogs::Confirm(const QString& text) {
    return ShowBox(QMessageBox::Question, CaptionOf(mtConfirmation), text, QMessageBox::Yes | QMessageBox::No,
                   QMessageBox::Yes) == QMessageBox::Yes;
}

bool QtDialogs::ConfirmWithin(const QString& text, std::chrono::milliseconds limit) {
    return ShowBox(QMessageBox::Question, CaptionOf(mtConfirmation), text, QMessageBox::Yes | QMessageBox::No,
                   QMessageBox::Yes, limit) == QMessageBox::Yes;
}

void QtDialogs::NoticeWithin(TMsgDlgType type, const QString& text, std::chrono::milliseconds limit) {
    ShowBox(type == mtError ? QMessageBox::Critical : QMessageBox::Information, CaptionOf(type), text,
            QMessageBox::Ok, QMessageBox::Ok, limit, QMessageBox::Ok);
}

void QtDialogs::Information(const QString& text) {
    ShowBox(QMessageBox::Information, CaptionOf(mtInformation), text, QMessageBox::Ok, QMessageBox::Ok);
}

void QtDialogs::Error(const QString& text) {
    ShowBox(QMessageBox::Critical, CaptionOf(mtError), text, QMessageBox::Ok, QMessageBox::Ok);
}

void QtDialogs::Message(const QString& text) {
    ShowBox(QMessageBox::NoIcon, CaptionOf(mtMessage), text, QMessageBox::Ok, QMessageBox::Ok);
}

void QtDialogs::ErrorDisplay(const QString& text) {
    ShowBox(QMessageBox::Critical, ApplicationTitle(), text, QMessageBox::Ok, QMessageBox::Ok);
}

ScriptedDialogs::ScriptedDialogs(QString logFile) : FLogFile(std::move(logFile)) {}

QStringList ScriptedDialogs::Texts() const {
    QStringList texts;
    for (const ShownDialog& d : FShown)
        texts << d.Text;
    return texts;
}

void ScriptedDialogs::Record(TMsgDlgType type, const QString& caption, const QString& text,
                             std::chrono::milliseconds limit) {
    FShown.push_back({type, caption, text, limit});
    if (FLogFile.isEmpty())
        return;
    const QString timed = QStringLiteral(" (%1 s)").arg(double(limit.count()) / 1000);
    AppendToLog(FLogFile, caption + (limit.count() > 0 ? timed : QString()) + QStringLiteral(": ") + text);
}

void AppendToLog(const QString& logFile, const QString& line) {
    QFile log(logFile);
    if (log.open(QIODevice::Append | QIODevice::Text)) {
        QString oneLine = line;
        oneLine.replace(QLatin1Char('\n'), QLatin1Char(' '));
        log.write((oneLine + QLatin1Char('\n')).toUtf8());
    }
}

bool ScriptedDialogs::Answer(bool unanswered) {
    if (FAnswers.empty())
        return unanswered;
    const bool yes = FAnswers.front();
    FAnswers.pop_front();
    return yes;
}

bool ScriptedDialogs::Confirm(const QString& text) {
    Record(mtConfirmation, CaptionOf(mtConfirmation), text);
    return Answer(true);
}

bool ScriptedDialogs::ConfirmWithin(const QString& text, std::chrono::milliseconds limit) {
    Record(mtConfirmation, CaptionOf(mtConfirmation), text, limit);
    return Answer(false);
}

void ScriptedDialogs::NoticeWithin(TMsgDlgType type, const QString& text, std::chrono::milliseconds limit) {
    Record(type, CaptionOf(type), text, limit);
}

void ScriptedDialogs::Information(const QString& text) {
    Record(mtInformation, CaptionOf(mtInformation), text);
}
void ScriptedDialogs::Error(const QString& text) {
    Record(mtError, CaptionOf(mtError), text);
}
void ScriptedDialogs::Message(const QString& text) {
    Record(mtMessage, CaptionOf(mtMessage), text);
}
void ScriptedDialogs::ErrorDisplay(const QString& text) {
    Record(mtError, ApplicationTitle(), text);
}

Dialogs& CurrentDialogs() {
    auto& dialogs = Installed();
    if (!dialogs) {
        QString log = qEnvironmentVariable(kUnattendedVariable);
        if (log.isEmpty())
            dialogs = std::make_unique<QtDialogs>();
        else
            dialogs = std::make_unique<ScriptedDialogs>(log);
    }
    return *dialogs;
}

std::unique_ptr<Dialogs> SetDialogs(std::unique_ptr<Dialogs> dialogs) {
    std::swap(Installed(), dialogs);
    return dialogs;
}

} // namespace lanterna
