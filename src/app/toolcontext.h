#pragma once
// The process-wide references through which the FTP routines and the directory restore reach
// the main window: filled while the main window starts, and emptied when that window goes.
#include "platform/reporter.h"

class QTreeWidget;
class QTableWidget;

namespace quorbin {

class FtpSession;

namespace app {

class Tquorbin;

struct ToolContext {
    StatusSink* status = nullptr;    // panel 0 of sb
    LogSink* log = nullptr;          // Memo2
    FtpSession* ftp = nullptr;       // the main window's FTP session (remote/ftpsession.h)
    QTreeWidget* remoteTree = nullptr;  // dl
    QTableWidget* remoteGrid = nullptr; // Vvzo
    Tquorbin* mainWindow = nullptr;
};

ToolContext& toolContext();

}  // namespace app
}  // namespace quorbin
