// Makes every class the programs' layouts name known to the reader.
#pragma once

void RegisterProgramClasses();
