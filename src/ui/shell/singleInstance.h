#pragma once
// The single-instance marker: a local server in Linux's abstract socket
// namespace, named after the user, held for the life of the first instance.

#include <QObject>
#include <QString>

class QLocalServer;

class TSingleInstance : public QObject {
    Q_OBJECT
public:
    // name: the marker's name; tests give one of their own.
    explicit TSingleInstance(QString name = markerName(), QObject* parent = nullptr);
    ~TSingleInstance() override;

    // The marker's name: "sTilvarName" and the user id, so that another
    // user's instance does not count.
    static QString markerName();

    // True when another instance of this user runs; that instance is then
    // asked to bring its window to the front. Otherwise this process now
    // holds the marker. An abstract socket vanishes with its process, so a
    // crashed instance leaves nothing that blocks the next start.
    bool checkSingleInstance();

signals:
    // A later start asked this instance to show its window.
    void activateRequested();

private:
    QString m_name;
    QLocalServer* m_server = nullptr;
};
