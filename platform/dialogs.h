#pragma once
// The one seam through which the programs ask questions and show notices, so that tests and
// unattended runs can answer them by script.

#include <QString>
#include <QStringList>

#include <chrono>
#include <deque>
#include <memory>

namespace lanterna {

enum TMsgDlgType : std::uint8_t { mtConfirmation, mtInformation, mtError, mtMessage };

struct ShownDialog {
    TMsgDlgType Type;
    QString Caption;
    QString Text;
    // How long a question waited before it answered No by itself; zero when it waited for ever.
    std::chrono::milliseconds TimeLimit{0};
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Question icon, Yes and No, Yes the default, caption "Confirm". True for Yes.
    virtual bool Confirm(const QString& text) = 0;
    // The same question, which answers No by itself when no one has answered it within `limit`.
    virtual bool ConfirmWithin(const QString& text, std::chrono::milliseconds limit) = 0;
    // An information (mtInformation) or error (mtError) box that closes by itself after `limit`.
    virtual void NoticeWithin(TMsgDlgType type, const QString& text, std::chrono::milliseconds limit) = 0;
    // Caption "Information", OK.
    virtual void Information(const QString& text) = 0;
    // Caption "Error", error icon, OK.
    virtual void Error(const QString& text) = 0;
    // Caption = the application's title, OK.
    virtual void Message(const QString& text) = 0;
    // The default error display: caption = the application's title, error icon, OK.
    virtual void ErrorDisplay(const QString& text) = 0;
};

// Real message boxes.
class QtDialogs final : public Dialogs {
public:
    bool Confirm(const QString& text) override;
    bool ConfirmWithin(const QString& text, std::chrono::milliseconds limit) override;
    void NoticeWithin(TMsgDlgType type, const QString& text, std::chrono::milliseconds limit) override;
    void Information(const QString& text) override;
    void Error(const QString& text) override;
    void Message(const QString& text) override;
    void ErrorDisplay(const QString& text) override;
};

// Answers from a script and a record of every box shown. Without a scripted answer a question
// gets its default button (Yes), and a question with a time limit the answer it gives when that
// runs out (No), since no one answers it. With a log file, every text is appended to it, one line
// a box: "<caption>: <text>", and "<caption> (<seconds> s): <text>" for a question with a limit.
class ScriptedDialogs final : public Dialogs {
public:
    explicit ScriptedDialogs(QString logFile = {});

    void QueueAnswer(bool yes) { FAnswers.push_back(yes); }
    const std::vector<ShownDialog>& Shown() const { return FShown; }
    QStringList Texts() const;
    void ClearShown() { FShown.clear(); }

    bool Confirm(const QString& text) override;
    bool ConfirmWithin(const QString& text, std::chrono::milliseconds limit) override;
    void NoticeWithin(TMsgDlgType type, const QString& text, std::chrono::milliseconds limit) override;
    void Information(const QString& text) override;
    void Error(const QString& text) override;
    void Message(const QString& text) override;
    void ErrorDisplay(const QString& text) override;

private:
    void Record(TMsgDlgType type, const QString& caption, const QString& text,
                std::chrono::milliseconds limit = {});
    bool Answer(bool unanswered);
    QString FLogFile;
    std::deque<bool> FAnswers;
    std::vector<ShownDialog> FShown;
};

// The environment variable that makes a program run unattended: its value is the log file that
// receives the text of every box, which is answered with its default button.
inline constexpr const char* kUnattendedVariable = "LANTERNA_UNATTENDED_LOG";

// Appends one line (line breaks inside it become spaces) to an unattended run's log file.
void AppendToLog(const QString& logFile, const QString& line);

// The dialogs in use. By default real boxes, or scripted ones when the variable above is set.
Dialogs& CurrentDialogs();
// Replaces the dialogs in use; returns the one it replaced.
std::unique_ptr<Dialogs> SetDialogs(std::unique_ptr<Dialogs> dialogs);

} // namespace lanterna
