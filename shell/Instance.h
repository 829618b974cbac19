#pragma once

#include <QLocalServer>
#include <QString>

#include <functional>
#include <string>
#include <vector>

// One window program for one folder of files: a second start hands its files to the program that
// already runs and ends, so the two never keep one stored list each and overwrite each other's.

// The channel's name for the program folder (the two files' folder).
QString InstanceName(const std::string& folder);

// Hands paths (absolute) to the program listening on name; false when none listens.
bool HandOver(const QString& name, const std::vector<std::string>& paths);

// Listens on name for the files of later starts and gives each start's paths to opened, from the
// event loop.
class TInstanceServer : public QObject {
public:
    TInstanceServer(const QString& name,
                    std::function<void(const std::vector<std::string>&)> opened);
    // False when another program that runs holds the name: hand the files over to it.
    bool Listening() const { return m_server.isListening(); }

private:
    void Accept();

    QLocalServer m_server;
    std::function<void(const std::vector<std::string>&)> m_opened;
};
