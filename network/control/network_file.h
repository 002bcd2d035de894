// The network file: a component stream whose root is the network control.
// Reading builds a new control and hands it over only when the whole file
// was read, so the open document stays as it was when a file is refused.
#pragma once

#include "network/control/vyr_network.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>

namespace network {

// Registers TVYRNetwork and TLankPanel with the stream's class registry. A
// network is created by class name only while ReadNetwork runs, on the
// services it was given.
void RegisterNetworkClasses();

// The network in bytes, recomputed, with Modified cleared; raises
// stream::StreamError with the reader's message for a damaged stream, a
// stream of another class, duplicate node identities or values the control
// cannot hold.
std::unique_ptr<TVYRNetwork> ReadNetwork(QByteArrayView bytes, platform::WindowServices& services);
QByteArray WriteNetwork(const TVYRNetwork& network);

// The same through a file. Saving writes a temporary file and renames it
// over path, so a failed save raises stream::StreamError and keeps the
// previous file.
std::unique_ptr<TVYRNetwork> OpenNetworkFile(const QString& path, platform::WindowServices& services);
void SaveNetworkFile(const QString& path, const TVYRNetwork& network);

} // namespace network
