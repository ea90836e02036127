#include "updater/web_launcher.h"

#include "platform/shell.h"

namespace updater {

TWebLauncher::TWebLauncher(QObject* owner)
    : QObject(owner), Open([](const QString& url) { lanterna::ShellOpen(url); }) {}

void TWebLauncher::SurfTo(const QString& url) {
    Open(url);
}

void TWebLauncher::MailTo(const QString& address, const QString& copy, const QString& blindCopy,
                          const QString& subject) {
    SurfTo(MailToText(address, copy, blindCopy, subject));
}

QString MailToText(const QString& address, const QString& copy, const QString& blindCopy,
                   const QString& subject) {
    QString text = QStringLiteral("mailto:") + address;
    const std::pair<const char*, const QString*> fields[] = {
        {"SUBJECT", &subject}, {"BCC", &blindCopy}, {"CC", &copy}};
    bool first = true;
    for (const auto& [name, value] : fields) {
        if (value->isEmpty())
            continue;
        text +=
            (first ? QLatin1Char('?') : QLatin1Char('&')) + QLatin1String(name) + QLatin1Char('=') + *value;
        first = false;
    }
    return text;
}

} // namespace updater
