// Toolkit base; filled in below.
