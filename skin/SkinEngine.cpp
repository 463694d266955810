#include "skin/SkinEngine.h"

namespace vandrel {

void TSeSkinEngine::SetSkinFile(const std::string& fileName) { m_skinFile = fileName; }

}  // namespace vandrel
