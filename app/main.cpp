#include "app/mainwindow.h"
#include "app/program.h"
#include "cart/sepetsekmesi.h"
#include "catalogue/katalog.h"

int main(int argc, char **argv) {
    return zenvo::ProgramCalistir(argc, argv, [](zenvo::TForm1 &form) {
        zenvo::SepetSekmesi *sepet = zenvo::SepetKur(form);
        zenvo::Katalog &katalog = zenvo::KatalogKur(form, *sepet);
        sepet->setSatirDegistirici(&katalog.satirDegistirici());
    });
}
