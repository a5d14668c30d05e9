#include "FuzzSupport.h"

#include <QCoreApplication>
#include <QLocale>

namespace korvel::fuzz {

void EnsureApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "korvel-fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
}

}  // namespace korvel::fuzz
