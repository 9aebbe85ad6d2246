// The page "Datei wiederh.".
#include "app/tquorbin.h"

#include <QVBoxLayout>

namespace quorbin::app {

void Tquorbin::buildFileRestorePage()
{
    new QVBoxLayout(TabSheet2);
}

}  // namespace quorbin::app
