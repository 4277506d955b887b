# Whether the dialogs' static texts fit their controls, for the end-to-end
# scripts of both builds: reads lines "static TEXT-WIDTH CONTROL-WIDTH TEXT"
# (pixels; from quimbar-text-widths on Linux, quimbar-probe statics under
# Wine).

# static_fit STRICT: prints every text's width against its control's as a
# figure, marking overflows. STRICT "strict": status 1 unless every text
# leaves at least a tenth of its control free (the Info box, whose credit
# line was chosen to fit); anything else: overflows are only reported (the
# parameter dialogs' labels are the templates' own).
static_fit() {
    awk -v strict="$1" '$1 == "static" {
        text = $0
        sub(/^static [0-9]+ [0-9]+ /, "", text)
        printf "  %-26s %4d of %4d px%s\n", "\"" text "\"", $2, $3, ($2 > $3 ? sprintf(", %d px too wide", $2 - $3) : "")
        if (strict == "strict" && 10 * $2 > 9 * $3) bad = 1
    }
    END { exit bad }'
}
