#pragma once

// Makes the pictures and texts of resources/ available. They live in a static
// library, whose resources the linker would otherwise leave out.
void loadResources();
