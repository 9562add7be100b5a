// The chart renderer's driver: builds the one-page PDF from the settings,
// saves it and optionally opens it. Returns 0 when the file was written,
// 1 when the PDF layer reported a failure.
#pragma once

int MakePDF();
