#pragma once

// The device object of a product: the class of its family (the mouse, the keyboard, the mouse pad
// or the headset), keeping its documents in `folders`.

#include <memory>

#include "catalogue/product_catalogue.h"
#include "profiles/profile_folders.h"

namespace vorlin {

class CHalvexUSBDevice;

// A new device object for `product`; nullptr for a product of no known family.
std::unique_ptr<CHalvexUSBDevice> CreateDeviceObject(const ProductEntry& product,
                                                     const ProfileFolders& folders);

}  // namespace vorlin
