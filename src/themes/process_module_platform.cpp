#include "themes/refusing_module_platform.h"

#if defined(_WIN32)
#include "themes/windows_module_platform.h"
#endif

namespace sumbrook {

ModulePlatform& processModulePlatform() {
#if defined(_WIN32)
    static WindowsModulePlatform platform;
#else
    static RefusingModulePlatform platform;
#endif
    return platform;
}

}  // namespace sumbrook
