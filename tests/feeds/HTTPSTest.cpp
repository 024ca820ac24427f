#include <gtest/gtest.h>

#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>

#include "feeds/HTTPClient.h"
#include "feeds/MemoryStream.h"
#include "support/LoopbackServer.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

// A throw-away certificate authority and a server certificate for localhost, made with the
// openssl command, and an "openssl s_server" answering on a free loopback port.
class TLocalTlsServer {
  public:
    TLocalTlsServer() {
        dir_.setAutoRemove(true);
        ok_ = Run({"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                   "/CN=Pelwick Test CA", "-keyout", Path("ca.key"), "-out", Path("ca.pem")}) &&
              Run({"req", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=localhost", "-keyout",
                   Path("server.key"), "-out", Path("server.csr")}) &&
              WriteExtensions() &&
              Run({"x509", "-req", "-in", Path("server.csr"), "-CA", Path("ca.pem"), "-CAkey",
                   Path("ca.key"), "-CAcreateserial", "-days", "2", "-extfile", Path("ext.cnf"),
                   "-out", Path("server.pem")});
        if (!ok_) return;
        {
            port_ = test::TLoopbackServer([](test::TConnection&, test::TLoopbackServer&) {}).Port();
        }
        server_.start("openssl", {"s_server", "-quiet", "-www", "-accept", QString::number(port_),
                                  "-cert", Path("server.pem"), "-key", Path("server.key")});
        ok_ = server_.waitForStarted(5000) && WaitListening();
    }
    ~TLocalTlsServer() {
        server_.kill();
        server_.waitForFinished(2000);
    }
    bool Ok() const { return ok_; }
    std::string Url() const { return "https://localhost:" + std::to_string(port_) + "/"; }
    std::string CAFile() const { return Path("ca.pem").toStdString(); }

  private:
    QString Path(const char* name) const { return dir_.filePath(name); }
    bool Run(const QStringList& args) {
        QProcess p;
        p.start("openssl", args);
        return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit &&
               p.exitCode() == 0;
    }
    bool WriteExtensions() {
        QFile f(Path("ext.cnf"));
        return f.open(QIODevice::WriteOnly) && f.write("subjectAltName=DNS:localhost\n") > 0;
    }
    bool WaitListening() {
        return test::PollUntil(
            [this] {
                QTcpSocket s;
                s.connectToHost("127.0.0.1", quint16(port_));
                return s.waitForConnected(100);
            },
            std::chrono::seconds(20));
    }

    QTemporaryDir dir_;
    QProcess server_;
    int port_ = 0;
    bool ok_ = false;
};

TEST(HTTPS, TrustedWithItsAuthorityRefusedWithout) {
    TLocalTlsServer server;
    ASSERT_TRUE(server.Ok()) << "openssl could not start a test server";
    {
        THTTPClient http;
        http.CAFile = server.CAFile();
        TMemoryStream stream;
        http.Get(server.Url(), stream);
        EXPECT_NE(stream.Bytes().find("<HTML>"), std::string::npos) << stream.Bytes();
    }
    {
        THTTPClient http;  // the system's authorities do not know the test CA
        TMemoryStream stream;
        try {
            http.Get(server.Url(), stream);
            ADD_FAILURE() << "an unknown certificate was accepted";
        } catch (const EHTTPError& e) {
            EXPECT_NE(std::string(e.what()).find("certificate"), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace pelwick
