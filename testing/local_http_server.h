#pragma once
// A static HTTP server over a folder, on a free port of 127.0.0.1, for as long as the object lives.

#include "testing/server_process.h"

#include <QString>

namespace lanterna::testing {

class LocalHttpServer {
public:
    explicit LocalHttpServer(const QString& folder);

    // "http://127.0.0.1:<port>", or empty when the server did not start.
    QString Url() const;

private:
    ServerProcess FServer;
};

} // namespace lanterna::testing
