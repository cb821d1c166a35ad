// linechain: converts every data file named in datlist.txt into a track file.
#include "platform/files.h"
#include "run/driver.h"

int main() {
  linechain::DiskFileSystem files;
  return linechain::run_batch(files, linechain::standard_output());
}
