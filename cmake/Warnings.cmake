# Every target of the project gets the same warnings and floating-point rules:
# game rules must compute the same bits on every peer, so no contraction into FMA.
add_compile_options(-Wall -Wextra -ffp-contract=off)
