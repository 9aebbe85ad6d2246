// The page "Verzeichn. wiederh.".
#include "app/tquorbin.h"

#include <QVBoxLayout>

namespace quorbin::app {

void Tquorbin::buildDirRestorePage()
{
    new QVBoxLayout(TabSheet3);
}

}  // namespace quorbin::app
