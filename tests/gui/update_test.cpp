#include "app/main_window.h"
#include "window_parts.h"
#include "app/update_check.h"
#include "app/update_rule.h"
#include "recording_launcher.h"
#include "scripted_prompter.h"
#include "../test_files.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace tw;

namespace {

QByteArray answer(const QByteArray& status, const QByteArray& body, const QByteArray& headers = {}) {
    return "HTTP/1.1 " + status + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n" + headers +
           "Connection: close\r\n\r\n" + body;
}

// A one-page web server on 127.0.0.1: every request gets the same answer.
class VersionServer {
public:
    explicit VersionServer(QByteArray reply) : reply_(std::move(reply)) {
        EXPECT_TRUE(server_.listen(QHostAddress::LocalHost, 0));
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    request_ += socket->readAll();
                    if (!request_.contains("\r\n\r\n")) return;
                    socket->write(reply_);
                    socket->disconnectFromHost();
                });
            }
        });
    }
    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(server_.serverPort()); }
    const QByteArray& request() const { return request_; }

private:
    QTcpServer server_;
    QByteArray reply_;
    QByteArray request_;
};

// Runs one check against the server; the address it offered, or nullopt.
std::optional<QString> check(const VersionServer& server) {
    UpdateCheck update(QUrl(versionFileUrl(server.host())));
    QSignalSpy offered(&update, &UpdateCheck::newerVersion);
    QSignalSpy finished(&update, &QThread::finished);
    update.start();
    EXPECT_TRUE(finished.wait(10000));
    if (offered.isEmpty()) return std::nullopt;
    return offered.first().first().toString();
}

} // namespace

TEST(UpdateCheck, AsksForTheVersionFileAndReadsTheReplyByTheRule) {
    struct Case {
        const char* name;
        QByteArray reply;
        const char* address;  // nullptr: no notice
    };
    const QByteArray redirect = answer("302 Found", "", "Location: http://127.0.0.1:1/version.txt\r\n");
    for (const Case& c : {
             Case{"newer", answer("200 OK", "1.7|http://tarnwick.org/get"), "http://tarnwick.org/get"},
             Case{"same", answer("200 OK", "1.6|http://tarnwick.org/get"), nullptr},
             Case{"two-digit minor", answer("200 OK", "1.10|http://tarnwick.org/get"), "http://tarnwick.org/get"},
             Case{"three parts", answer("200 OK", "1.6.1|http://tarnwick.org/get"), nullptr},
             Case{"redirect", redirect, nullptr},
             Case{"not found", answer("404 Not Found", "1.7|http://tarnwick.org/get"), nullptr},
             Case{"no bar", answer("200 OK", "1.7 http://tarnwick.org/get"), nullptr},
             Case{"blanks around", answer("200 OK", "\r\n  1.7|http://tarnwick.org/get \r\n"), "http://tarnwick.org/get"},
         }) {
        VersionServer server(c.reply);
        const std::optional<QString> got = check(server);
        EXPECT_TRUE(server.request().startsWith("GET /version.txt HTTP/1.1\r\n")) << c.name;
        if (c.address) {
            ASSERT_TRUE(got.has_value()) << c.name;
            EXPECT_EQ(*got, QString::fromLatin1(c.address)) << c.name;
        } else {
            EXPECT_FALSE(got.has_value()) << c.name;
        }
    }
}

TEST(UpdateCheck, NoServerIsSilentAndAStuckServerDoesNotHoldUpShutDown) {
    // A port held by a socket that is bound but does not listen refuses every connection,
    // and no other test running meanwhile can take it over (a closed port could be).
    const int held = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(held, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(held, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    socklen_t length = sizeof address;
    ASSERT_EQ(::getsockname(held, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const quint16 port = ntohs(address.sin_port);
    const VersionServer mute{QByteArray()};  // closes the connection without an answer
    EXPECT_FALSE(check(mute).has_value());

    // A server that accepts and never answers: destroying the check ends it at once.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    QElapsedTimer timer;
    timer.start();
    {
        UpdateCheck update(QUrl(versionFileUrl(QStringLiteral("127.0.0.1:%1").arg(silent.serverPort()))));
        update.start();
        QThread::msleep(200);
    }
    EXPECT_LT(timer.elapsed(), 3000);
    UpdateCheck refused(QUrl(versionFileUrl(QStringLiteral("127.0.0.1:%1").arg(port))));
    QSignalSpy offered(&refused, &UpdateCheck::newerVersion);
    QSignalSpy finished(&refused, &QThread::finished);
    refused.start();
    EXPECT_TRUE(finished.wait(10000));
    EXPECT_TRUE(offered.isEmpty());
    ::close(held);
}

TEST(UpdateCheck, TheWindowShowsTheDownloadButtonWhichOpensTheAddress) {
    VersionServer server(answer("200 OK", "1.7|https://tarnwick.org/get"));
    QTemporaryDir dir;
    ASSERT_TRUE(writeFileBytes(dir.filePath("Settings.ini"), "[Update]\nhost=" + server.host().toLatin1() + "\n"));
    ScriptedPrompter prompter;
    RecordingLauncher launcher;
    MainWindow form(prompter, ProgramPaths::inFolder(dir.path()));
    form.setLauncher(&launcher);
    HelpAndUpdates::setUpdateCheckEnabled(true);
    form.show();
    HelpAndUpdates::setUpdateCheckEnabled(false);
    QAction* button = form.command("downloadUpdate");
    QTRY_VERIFY_WITH_TIMEOUT(button->isVisible(), 10000);
    EXPECT_TRUE(form.command("downloadSeparator")->isVisible());
    button->trigger();
    EXPECT_EQ(launcher.targets, QStringList{"https://tarnwick.org/get"});
}

TEST(HelpAndAbout, AboutReadsTheInfoKeys) {
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    MainWindow form(prompter, ProgramPaths::inFolder(dir.path()));
    form.command("about")->trigger();
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(prompter.messages[0], HelpAndUpdates::aboutText("tarnwick@tarnwick.org", ""));
    EXPECT_TRUE(prompter.messages[0].endsWith("на мой ящик или оставляйте на сайте\r\n"));

    ASSERT_TRUE(writeFileBytes(dir.filePath("Settings.ini"), "[Info]\nmail=me@site.example\nsite=https://site.example/\n"));
    form.command("about")->trigger();
    ASSERT_EQ(prompter.messages.size(), 2);
    EXPECT_EQ(prompter.messages[1],
              "Автор программы Tarnwick\r\nE-mail: me@site.example\r\n\r\nВсе замечания и предложения присылайте\r\n"
              "на мой ящик или оставляйте на сайте\r\nhttps://site.example/");
}
