#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QNetworkProxy>
#include <QTcpServer>
#include <QTcpSocket>
#include <functional>
#include <memory>
#include <gtest/gtest.h>

// A small HTTP server on 127.0.0.1, inside the test process: every request gets the
// scripted answer, or no answer at all. It is served by the test's event loop.
class LocalHttpServer {
public:
    LocalHttpServer()
    {
        // Whatever the machine's proxy settings, the test talks to 127.0.0.1 itself.
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        EXPECT_TRUE(m_server.listen(QHostAddress::LocalHost, 0)) << qPrintable(m_server.errorString());
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] { accept(); });
    }

    // Every later request is answered with this status and body.
    void respond(int status, const QByteArray& body) { m_answering = true; m_status = status; m_body = body; }

    // Requests are read and then left without any answer.
    void neverAnswer() { m_answering = false; }

    QString address(const QString& path = QStringLiteral("/trelvik/trelvikversion.dat")) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
    }

    int requests = 0;
    QByteArray lastRequest; // its request line and headers
    // Runs when a request has arrived, before it is answered.
    std::function<void()> onRequest;

    // An address on 127.0.0.1 where nothing listens, so connecting is refused.
    static QString refusingAddress()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        return QStringLiteral("http://127.0.0.1:%1/trelvikversion.dat").arg(probe.serverPort()); // closed as it goes
    }

private:
    void accept()
    {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            auto request = std::make_shared<QByteArray>();
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
                *request += socket->readAll();
                if (!request->contains("\r\n\r\n"))
                    return;
                lastRequest = std::exchange(*request, {});
                ++requests;
                if (onRequest)
                    onRequest();
                if (!m_answering)
                    return;
                socket->write("HTTP/1.1 " + QByteArray::number(m_status) + " Status\r\nContent-Type: text/plain\r\nContent-Length: "
                              + QByteArray::number(m_body.size()) + "\r\nConnection: close\r\n\r\n" + m_body);
                socket->disconnectFromHost();
            });
        }
    }

    QTcpServer m_server;
    bool m_answering = true;
    int m_status = 200;
    QByteArray m_body;
};
