#pragma once

class QFileDevice;

namespace orvix {

// Files that hold passwords are readable and writable by their owner only, where the platform
// has file modes. Call on an open file before anything is written into it.
bool RestrictToOwner(QFileDevice& file);

} // namespace orvix
