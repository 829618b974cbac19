#pragma once

// Lets the allocator keep memory that a record freed for the next record, instead of giving it
// back to the system and having every page faulted in and cleared again. A large record is split
// into hundreds of thousands of lines; without this a third of its conversion time goes to page
// faults. Does nothing where the C library offers no such setting.
void KeepFreedMemory();
