// The connections a widget makes to senders that outlive it: the application, the game model.
#pragma once

#include <QMetaObject>
#include <QObject>

#include <utility>
#include <vector>

namespace tallowmere {

// Holds a widget's connections to senders that outlive it and drops them as soon as the widget's
// own destructor has run. Qt drops a connection only in ~QObject, after ~QWidget has deleted the
// widget's children; a child that gives up the keyboard focus, hides or changes the game as it
// goes would set off the handler on a widget that is already half destroyed, no longer of its
// own class. Declared as the widget's last member, it goes first, before any member or child
// that could stir anything.
class OutsideConnections {
public:
    OutsideConnections() = default;
    OutsideConnections(const OutsideConnections&) = delete;
    OutsideConnections& operator=(const OutsideConnections&) = delete;
    ~OutsideConnections() {
        for (const QMetaObject::Connection& connection : m_connections) QObject::disconnect(connection);
    }

    // As QObject::connect, with `receiver` the widget that holds this.
    template <class Sender, class Signal, class Receiver, class Slot>
    void connect(const Sender* sender, Signal signal, const Receiver* receiver, Slot&& slot) {
        m_connections.push_back(QObject::connect(sender, signal, receiver, std::forward<Slot>(slot)));
    }

private:
    std::vector<QMetaObject::Connection> m_connections;
};

}  // namespace tallowmere
