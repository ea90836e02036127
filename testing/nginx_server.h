#pragma once
// A real nginx serving a folder on a free port of 127.0.0.1 with a configuration of its own, while
// the object lives: the kind of static web server a chain of shops publishes its releases from.

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace lanterna::testing {

class NginxServer {
public:
    explicit NginxServer(const QString& root);
    ~NginxServer();
    NginxServer(const NginxServer&) = delete;
    NginxServer& operator=(const NginxServer&) = delete;

    // "http://127.0.0.1:<port>", or empty when nginx did not start (or is not installed).
    QString Url() const;

private:
    QTemporaryDir FScratch;
    QProcess FProcess;
    int FPort = 0;
};

} // namespace lanterna::testing
