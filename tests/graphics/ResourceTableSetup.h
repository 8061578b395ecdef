// Graphics tests search the product's compiled-in table, as the editor does.

#pragma once

#include "resources/ResourceTable.h"

namespace testSupport {

inline const bool kResourceTableChosen =
    (plugkit::SetEmbeddedResources(quorvel::ResourceTable), true);

}  // namespace testSupport
