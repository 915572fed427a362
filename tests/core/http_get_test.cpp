#include "http/http_get.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

using namespace tw;

TEST(HttpGet, TheTimeLimitCoversTheWholeRequest) {
    int argc = 1;
    char name[] = "core_tests";
    char* argv[] = {name, nullptr};
    std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance()) app = std::make_unique<QCoreApplication>(argc, argv);

    // Answers with a 100-byte body and sends one byte of it every 200 ms: never idle for long,
    // but twenty seconds to the end.
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&server, &QTcpServer::newConnection, [&server] {
        QTcpSocket* socket = server.nextPendingConnection();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] {
            socket->readAll();
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: 100\r\nConnection: close\r\n\r\n");
            auto* drip = new QTimer(socket);
            QObject::connect(drip, &QTimer::timeout, socket, [socket] { socket->write("x"); });
            drip->start(200);
        });
    });

    HttpGetOptions options;
    options.timeoutMs = 1000;
    QElapsedTimer clock;
    clock.start();
    const auto body = httpGet(QUrl(QStringLiteral("http://127.0.0.1:%1/version.txt").arg(server.serverPort())), options);
    EXPECT_FALSE(body.has_value());
    EXPECT_LT(clock.elapsed(), 5000);
}
