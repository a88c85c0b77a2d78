// A library whose folder has no sources yet still needs one translation unit.
