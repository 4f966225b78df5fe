#include "ui/shell/singleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace {
const QByteArray kShowRequest = QByteArrayLiteral("show\n");

// Tells the running instance to come to the front; true when it answered.
bool askRunningInstance(const QString& name)
{
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(name);
    if (!socket.waitForConnected(1000))
        return false;
    socket.write(kShowRequest);
    socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    return true;
}
} // namespace

TSingleInstance::TSingleInstance(QString name, QObject* parent)
    : QObject(parent), m_name(std::move(name))
{
}

TSingleInstance::~TSingleInstance() = default;

QString TSingleInstance::markerName()
{
    return QStringLiteral("sTilvarName.") + QString::number(::getuid());
}

bool TSingleInstance::checkSingleInstance()
{
    if (m_server)
        return false;
    const QString& name = m_name;
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
    // Two tries: a marker whose owner is gone but whose name lingers for an
    // instant must not keep the program from starting.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (server->listen(name)) {
            m_server = server;
            connect(server, &QLocalServer::newConnection, this, [this] {
                while (QLocalSocket* peer = m_server->nextPendingConnection()) {
                    connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
                    auto onData = [this, peer] {
                        if (peer->canReadLine()) {
                            peer->readAll();
                            emit activateRequested();
                        }
                    };
                    connect(peer, &QLocalSocket::readyRead, this, onData);
                    onData();
                }
            });
            return false;
        }
        if (server->serverError() != QAbstractSocket::AddressInUseError)
            break;
        if (askRunningInstance(name)) {
            delete server;
            return true;
        }
    }
    // The marker cannot be made for another reason: run without it rather
    // than refuse to start.
    delete server;
    return false;
}
