#pragma once
// The check of a store tree, shared by `verify` (the local store) and `ftp … verify` (the mirror).
#include "engine/storeaccess.h"

#include <QString>
#include <functional>
#include <memory>

namespace quorbin::cli {

struct VerifyRequest {
    QString startDirectory;  // a store directory, Windows path text
    std::function<QString()> key;
    bool allVersions = false;
    int jobs = 0;                        // 0: one per core
    std::shared_ptr<StoreAccess> store;  // null: the local disks
};

// Reads every stored file below the start directory (or the version the newest rule chooses),
// prints one line per bad file and a summary; the command's exit status.
int verifyStore(const VerifyRequest& request);

}  // namespace quorbin::cli
