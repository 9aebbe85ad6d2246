#include "app/toolcontext.h"

namespace quorbin::app {

ToolContext& toolContext()
{
    static ToolContext context;
    return context;
}

}  // namespace quorbin::app
