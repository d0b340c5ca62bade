#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>

// A small HTTP/1.1 server on 127.0.0.1 that answers from a fixed table and remembers every
// request target in the order the requests arrived.
class TestSite : public QObject {
public:
    bool start() {
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket,
                        [this, socket] { readFrom(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
                    buffers_.remove(socket);
                    socket->deleteLater();
                });
            }
        });
        return server_.listen(QHostAddress::LocalHost, 0);
    }

    QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort()); }

    void put(const QByteArray& target, const QByteArray& type, const QByteArray& body) {
        pages_.insert(target, Page{type, body});
    }

    // Request targets as sent, without the icon requests of the engine.
    QList<QByteArray> requests() const {
        QList<QByteArray> pages;
        for (const QByteArray& target : requests_) {
            if (target != "/favicon.ico") {
                pages.append(target);
            }
        }
        return pages;
    }

    void forget() { requests_.clear(); }

private:
    struct Page {
        QByteArray type;
        QByteArray body;
    };

    void readFrom(QTcpSocket* socket) {
        QByteArray& buffer = buffers_[socket];
        buffer += socket->readAll();
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0) {
            return;
        }
        const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
        buffers_.remove(socket);
        const QByteArray target = requestLine.value(1);
        requests_.append(target);

        QByteArray response;
        const auto page = pages_.constFind(target);
        if (page == pages_.constEnd()) {
            const QByteArray body = "<!DOCTYPE html><title>missing</title><p>missing</p>";
            response = "HTTP/1.1 404 Not Found\r\nContent-Type: text/html\r\nContent-Length: " +
                       QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
        } else {
            response = "HTTP/1.1 200 OK\r\nContent-Type: " + page->type +
                       "\r\nContent-Length: " + QByteArray::number(page->body.size()) +
                       "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n" + page->body;
        }
        socket->write(response);
        socket->disconnectFromHost();
    }

    QTcpServer server_;
    QHash<QByteArray, Page> pages_;
    QHash<QTcpSocket*, QByteArray> buffers_;
    QList<QByteArray> requests_;
};
