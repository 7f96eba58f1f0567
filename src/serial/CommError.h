#pragma once

#include "platform/DescribedError.h"

// An error raised by the communications control: a refused property access.
class CommError : public DescribedError {
public:
    using DescribedError::DescribedError;
};
