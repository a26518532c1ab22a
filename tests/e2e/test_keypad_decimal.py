"""Under a comma layout (German keyboard and language) the keypad's decimal key types the
calculator's decimal point: 100, Tab, 32, the keypad's decimal key, 5, Enter and File > Print
give the figures of 32.5 %. A comma typed on the main keyboard stays a comma, where reading
stops: the figures are those of 32 %, as always."""
from conftest import keys, type_text


def test_keypad_decimal_key_types_the_point_and_a_typed_comma_stays(calculator, keyboard_layout):
    keyboard_layout("de")
    app = calculator(LANG="de_DE.UTF-8")

    app.focus()
    type_text("100")
    keys("Tab")
    type_text("32")
    keys("KP_Separator")  # the keypad's decimal key, as the German layout names it
    type_text("5")
    keys("Return")
    record = app.print_record().split(b"\r\n")
    assert b"% O2 in Nitrox:       32.5" in record
    assert b"MOD fsw 1.4 atm =    109.154" in record

    app.clear()
    app.calculate("100", "32,5")
    record = app.print_record().split(b"\r\n")
    assert b"% O2 in Nitrox:       32.0" in record
    assert b"MOD fsw 1.4 atm =    111.375" in record
