// Replaced by the fake platform.
