// STUB: still to be written.
