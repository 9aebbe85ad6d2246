// The page "FTP-Ütra".
#include "app/tquorbin.h"

#include <QVBoxLayout>

namespace quorbin::app {

void Tquorbin::buildFtpPage()
{
    new QVBoxLayout(TabSheet5);
}

}  // namespace quorbin::app
