#include "engine/app/D3DFrameworkGlobal.h"

namespace D3DFrame {

std::unique_ptr<TD3DFramework> D3DFramework;

} // namespace D3DFrame
