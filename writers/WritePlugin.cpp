#include "WritePlugin.h"

#include "modHtm.h"
#include "modInf.h"
#include "modRam.h"
#include "modRun.h"
#include "modXml.h"

namespace kw {

void WritePluginFiles(const clsKitwright& kw)
{
    modInf::WriteInfFile(kw);
    modHtm::WriteHelpFile(kw);
    modRam::WriteRamdiskScripts(kw);
    modRun::WriteAutorunScripts(kw);
    modXml::WriteMenuXmlFile(kw);
}

}  // namespace kw
