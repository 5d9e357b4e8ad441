#include <Tallowmere/Platform/Runtime.hpp>

#include <QThreadPool>

namespace tallowmere {

void configureRuntime() {
    QThreadPool::globalInstance()->setMaxThreadCount(1);
}

}  // namespace tallowmere
